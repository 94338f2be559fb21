#pragma once

#include <QByteArray>
#include <QString>

class DebugOutput;
class Dialogs;
struct SaveDialogState;

// Assembles a page picture that the movie sends as text: a start with the size, data chunks of RRGGBB
// pixel items, and an end that paints the picture, asks the reader for a file name and writes a JPEG
// there. The main window keeps one for its whole life. The pixel text is kept one byte per character
// (see appendNarrowed) and is read once, at the end, straight into the JPEG encoder.
class ScrapSave {
public:
    // Largest picture an end accepts, in pixels.
    static constexpr qint64 maxPixels = 100'000'000;
    // The pixel text a scrap may gather; chunks beyond it are dropped and the end fails.
    static constexpr qsizetype defaultMaxPixelText = qsizetype(1) << 30;

    explicit ScrapSave(DebugOutput& debug, qsizetype maxPixelText = defaultMaxPixelText);

    // "width,height": clears the pixel text and sets the size. Throws QorvError when an item is missing
    // or not a decimal integer; what was set before the failing item stays.
    void Start(const QString& parameters);
    // "<field>,<pixel>,<pixel>,...": appends everything from the first comma on; without a comma, the
    // whole text. Never fails.
    void Data(const QString& parameters);
    // Paints and encodes the picture, asks for the file name and writes the file. parameters is not used.
    // Throws QorvError before any dialog for a bad size or a bad colour, and when the file cannot be
    // written. Cancelling writes nothing.
    void End(const QString& parameters, Dialogs& dialogs, SaveDialogState& fileSaveDialog);

    // The picture as JPEG at quality 90; what End writes. Throws as End does before its dialog.
    QByteArray encodeJpeg();
    // The picture as rows of 8-bit RGB, top first, with the same checks and debug lines as encodeJpeg().
    QByteArray rgbPixels();

    int width() const { return width_; }
    int height() const { return height_; }
    qsizetype pixelTextSize() const { return pixelText_.size(); }

private:
    void checkPicture() const;

    DebugOutput& debug_;
    qsizetype maxPixelText_;
    QByteArray pixelText_;
    bool pixelTextOverflow_ = false;
    int width_ = 0;
    int height_ = 0;
};
