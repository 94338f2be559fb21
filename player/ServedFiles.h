#pragma once

#include <QString>
#include <QStringList>

// Decides which local file answers a request of the movie. Only the book's folder tree, the player's own
// files and folders the host hands to the movie (recordings, notes) are served; everything else of the
// machine is refused. Paths come as the movie wrote them: backslashes count as separators and a name whose
// case differs from the file on disk still finds it.
class ServedFiles {
public:
    enum class Status { Served, Refused, Missing };
    struct Result {
        Status status = Status::Refused;
        QString file; // the native path found, or the path that was asked for
    };

    // Replaces the folder of the previous book.
    void setBookFolder(const QString& folder);
    void allowFolder(const QString& folder);

    // urlPath is the decoded path of the request URL ("/home/me/book/a.swf").
    Result resolve(const QString& urlPath) const;

    static QString mimeType(const QString& file);

private:
    bool inside(const QString& path, bool canonical) const;

    QString bookFolder_;
    QStringList allowed_;
};
