#pragma once

#include <QString>

// The services the main window's commands reach, one function per command row. The dispatcher decides
// which row a command matches and what text the handler gets; the handlers do the work. Each default
// does nothing, so a window without a service simply ignores its commands.
class MainCommandHandlers {
public:
    virtual ~MainCommandHandlers() = default;

    virtual void RunPDF(const QString& args) { (void)args; }   // argument string as received
    virtual void function(const QString& args) { (void)args; } // "PopUpForm", "LoadForm", "CaptureForm"
    virtual void imgcopy(const QString& parameters) { (void)parameters; }
    virtual void doccopy(const QString& parameters) { (void)parameters; }
    virtual void copyfile(const QString& parameters) { (void)parameters; }
    virtual void copyfileModal(const QString& parameters) { (void)parameters; }
    virtual void copyfilesDialog(const QString& parameters) { (void)parameters; }
    virtual void LocalSaveText(const QString& parameters) { (void)parameters; }
    virtual void saveTextFile(const QString& parameters) { (void)parameters; }
    virtual void loadTextFile(const QString& parameters) { (void)parameters; }
    virtual void searchList(const QString& parameters) { (void)parameters; }
    virtual void InputParameter() {}
    virtual void TxtListSaveToFile(const QString& parameters) { (void)parameters; }
    virtual void show(const QString& parameters) { (void)parameters; }
    virtual void scrapsaveStart(const QString& parameters) { (void)parameters; }
    virtual void scrapsaveData(const QString& parameters) { (void)parameters; }
    virtual void scrapsaveEnd(const QString& parameters) { (void)parameters; }
    virtual void recordingStart() {}
    virtual void recordingStop() {} // tells the main window's movie
    virtual void exec(const QString& args) { (void)args; }
};
