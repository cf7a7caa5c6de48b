// Animation: plays an uncompressed AVI clip ('DIB ' frames) on a timer. A missing
// or unreadable clip makes Open return false and Play do nothing; nothing blocks.
// writeWorkingAvi makes the small clip the program ships as working.avi.
#pragma once

#include "platform/forms/control.h"

#include <QImage>
#include <QString>
#include <vector>

class QLabel;
class QTimer;

namespace forms {

// The frames of an uncompressed AVI and its frame interval.
struct AviClip {
    std::vector<QImage> frames;
    int frameMicroseconds = 100000;
};

// Reads a RIFF AVI whose stream holds uncompressed 8, 24 or 32-bit DIB frames.
// Returns false (and leaves `clip` empty) for a missing, damaged or compressed file.
bool readAvi(const QString& path, AviClip& clip);
// Writes `clip` as an uncompressed 24-bit AVI; false when the file can't be written.
bool writeAvi(const QString& path, const AviClip& clip);
// The "working" clip: a bar moving across a small strip, `frameCount` frames.
AviClip makeWorkingClip(int width = 96, int height = 16, int frameCount = 12);
bool writeWorkingAvi(const QString& path);

class Animation : public Control {
    Q_OBJECT
public:
    explicit Animation(QWidget* parent = nullptr);

    bool Open(const QString& path);                 // false when the clip can't be read
    void Play();                                    // nothing without an open clip
    void Stop();
    bool isPlaying() const;
    int frameCount() const { return static_cast<int>(clip_.frames.size()); }

private:
    void showFrame(int index);
    QLabel* screen_;
    QTimer* timer_;
    AviClip clip_;
    int frame_ = 0;
};

}  // namespace forms
