#pragma once

#include <QString>

// The settings file beside the executable (its path with ".ini"), read once when the main window is
// created and kept for the whole run: the main window's border and the pop-up windows' size, frame and
// scale. Fields hold the raw texts; the windows interpret them.
class INIController {
public:
    static INIController& GetInstance();

    // Reads the file beside the executable.
    void LoadSettings();
    // Reads the given file; a missing or unreadable file leaves every field empty.
    void LoadSettings(const QString& iniPath);

    // The settings file of an executable: its path with the extension replaced by ".ini".
    static QString SettingsPathFor(const QString& executablePath);

    QString GetMainFormBorderStyle() const { return MainFormBorderStyle; }
    QString GetChildFormWindowState() const { return ChildFormWindowState; }
    QString GetChildFormWidth() const { return ChildFormWidth; }
    QString GetChildFormHeight() const { return ChildFormHeight; }
    QString GetChildFormBorderStyle() const { return ChildFormBorderStyle; }
    QString GetChildFormScale() const { return ChildFormScale; }

private:
    INIController() = default;

    QString MainFormBorderStyle;
    QString ChildFormWidth;
    QString ChildFormHeight;
    QString ChildFormBorderStyle;
    QString ChildFormWindowState;
    QString ChildFormScale;
};
