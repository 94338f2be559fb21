#pragma once

#include <QString>
#include <optional>

// A save dialog as the windows keep it: it remembers the filter and file name it was last given.
// filter is in the books' form: display name, "|", patterns separated by ";" or "," (for example
// "JPG 파일|*.jpg"). objectName lets tests find the real dialog.
struct SaveDialogState {
    QString objectName;
    QString filter;
    QString fileName;
};

// Every modal box and dialog the commands show, behind one seam: Qt widgets in the program, scripted
// answers in tests. Each window has its own instance, so dialogs are owned by the window that asked.
class Dialogs {
public:
    // Results of the run-or-save prompt, with the values of the modal results they stand for.
    enum class RunOrSave { Open = 1, Cancel = 2, Save = 6 };

    virtual ~Dialogs() = default;
    // Shows the save dialog; the chosen native path, or nullopt on cancel. On success the dialog's
    // fileName becomes the chosen path.
    virtual std::optional<QString> saveFile(SaveDialogState& dialog) = 0;
    // Shows the folder picker; the chosen native folder, or nullopt on cancel.
    virtual std::optional<QString> chooseFolder() = 0;
    // The simple message box with one OK button.
    virtual void showMessage(const QString& text) = 0;
    // Message dialogs with an icon and one OK button.
    virtual void information(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    // Information-type question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // The application's standard error box: error icon, OK, the given caption.
    virtual void errorBox(const QString& caption, const QString& message) = 0;
    // The run-or-save prompt, shown modally and destroyed before this returns.
    virtual RunOrSave runOrSave() = 0;
};
