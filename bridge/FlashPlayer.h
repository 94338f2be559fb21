#pragma once

#include <QString>
#include <functional>

// The Flash player as the windows use it. The real one plays the movie in Ruffle inside a web view; tests
// use a fake that records calls and injects commands.
//
// Names for SetVariable and GetVariable address the movie's root timeline: "_root.x", a plain "x" and dotted
// paths such as "_root.__funcRoot.appPath" all work. GetVariable of a missing variable gives the empty text.
// Variables set before the movie has started are applied, in order, before its first frame runs.
class FlashPlayer {
public:
    using FSCommandHandler = std::function<void(const QString& command, const QString& args)>;

    virtual ~FlashPlayer() = default;

    // Loads and plays the movie at path (a native path, a URL, or "about:blank").
    virtual void Movie(const QString& path) = 0;
    // name=value pairs the next movie sees as variables when it starts; set before Movie.
    virtual void FlashVars(const QString& vars) = 0;
    // "showAll", "noScale", "exactFit", "noBorder"; anything else means the default (showAll).
    virtual void Scale(const QString& mode) = 0;
    virtual void SetVariable(const QString& name, const QString& value) = 0;
    // Waits for the answer while the window keeps painting; the empty text when there is none.
    virtual QString GetVariable(const QString& name) = 0;
    // request is an ExternalInterface XML request; returns what the movie's callback returned.
    virtual QString CallFunction(const QString& request) = 0;
    virtual void Stop() = 0;

    // One call per fscommand, on the user-interface thread, in the order the movie sent them.
    virtual void setFSCommandHandler(FSCommandHandler handler) = 0;
};
