#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The small prompt that asks whether a file of the book is to be opened or saved. Shown modally by the
// window that handles the command and destroyed right after; its result is 1 (open), 6 (save) or 2
// (cancel, also when closed from the title bar or with Escape).
class TFileDownloadForm : public QDialog {
    Q_OBJECT
public:
    enum Result { OpenResult = 1, CancelResult = 2, SaveResult = 6 };

    explicit TFileDownloadForm(QWidget* owner = nullptr);

    QLabel* Label1;
    QPushButton* OpenButton;
    QPushButton* SaveButton;
    QPushButton* AbortButton;

public slots:
    void reject() override;

private slots:
    void OpenButtonClick();
    void SaveButtonClick();
    void AbortButtonClick();
};
