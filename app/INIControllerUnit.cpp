#include "app/INIControllerUnit.h"

#include "app/IniFile.h"

#include <QCoreApplication>
#include <QFileInfo>

INIController& INIController::GetInstance() {
    static INIController instance;
    return instance;
}

QString INIController::SettingsPathFor(const QString& executablePath) {
    const QFileInfo info(executablePath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    return info.path() + QLatin1Char('/') + base + QStringLiteral(".ini");
}

void INIController::LoadSettings() {
    LoadSettings(SettingsPathFor(QCoreApplication::applicationFilePath()));
}

void INIController::LoadSettings(const QString& iniPath) {
    const IniFile ini(iniPath);
    const QString none;
    MainFormBorderStyle = ini.readString(QStringLiteral("MainForm"), QStringLiteral("BorderStyle"), none);
    ChildFormWindowState = ini.readString(QStringLiteral("ChildForm"), QStringLiteral("WindowState"), none);
    ChildFormWidth = ini.readString(QStringLiteral("ChildForm"), QStringLiteral("Width"), none);
    ChildFormHeight = ini.readString(QStringLiteral("ChildForm"), QStringLiteral("Height"), none);
    ChildFormBorderStyle = ini.readString(QStringLiteral("ChildForm"), QStringLiteral("BorderStyle"), none);
    ChildFormScale = ini.readString(QStringLiteral("ChildForm"), QStringLiteral("Scale"), none);
}
