// The animation control and the uncompressed AVI reader and writer behind it (see
// animation.h). An AVI is a RIFF file: a header list (main header, one video stream
// header and its BITMAPINFOHEADER), a 'movi' list of frame chunks and an index.
#include "platform/forms/animation.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QtEndian>
#include <cstring>

namespace forms {

namespace {

quint32 u32(const char* p) { return qFromLittleEndian<quint32>(p); }
qint32 s32(const char* p) { return qFromLittleEndian<qint32>(p); }
quint16 u16(const char* p) { return qFromLittleEndian<quint16>(p); }

struct Format {
    int width = 0;
    int height = 0;               // negative: rows stored top-down
    int bits = 0;
    std::vector<QRgb> palette;
    bool valid() const
    {
        return width > 0 && height != 0 && width <= 4096 && std::abs(height) <= 4096 &&
               (bits == 8 || bits == 24 || bits == 32);
    }
    qsizetype stride() const { return ((static_cast<qsizetype>(width) * bits + 31) / 32) * 4; }
    qsizetype frameBytes() const { return stride() * std::abs(height); }
};

bool readFormat(const QByteArray& strf, Format& format)
{
    if (strf.size() < 40) return false;
    const char* p = strf.constData();
    const quint32 headerSize = u32(p);
    if (headerSize < 40 || headerSize > static_cast<quint32>(strf.size())) return false;
    format.width = s32(p + 4);
    format.height = s32(p + 8);
    format.bits = u16(p + 14);
    if (u32(p + 16) != 0) return false;                 // compressed: not ours to play
    if (format.bits == 8) {
        quint32 colours = u32(p + 32);
        if (colours == 0 || colours > 256) colours = 256;
        const qsizetype end = headerSize + colours * 4;
        if (end > strf.size()) return false;
        for (quint32 i = 0; i < colours; ++i) {
            const char* c = p + headerSize + i * 4;
            format.palette.push_back(qRgb(static_cast<uchar>(c[2]), static_cast<uchar>(c[1]), static_cast<uchar>(c[0])));
        }
    }
    return format.valid();
}

QImage decodeFrame(const QByteArray& data, const Format& format)
{
    if (data.size() < format.frameBytes()) return {};
    const int rows = std::abs(format.height);
    QImage image(format.width, rows, QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y) {
        const int sourceRow = format.height > 0 ? rows - 1 - y : y;
        const auto* line = reinterpret_cast<const uchar*>(data.constData() + sourceRow * format.stride());
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < format.width; ++x) {
            if (format.bits == 8) {
                const uchar index = line[x];
                out[x] = index < format.palette.size() ? format.palette[index] : qRgb(0, 0, 0);
            } else {
                const uchar* px = line + x * (format.bits / 8);
                out[x] = qRgb(px[2], px[1], px[0]);
            }
        }
    }
    return image;
}

// Walks the chunks of one RIFF list body, collecting what the player needs.
struct Walker {
    explicit Walker(const QByteArray& bytes) : file(bytes) {}
    const QByteArray& file;
    Format format;
    bool haveFormat = false;
    quint32 microseconds = 0;
    std::vector<QImage> frames;
    bool damaged = false;

    void walk(qsizetype begin, qsizetype end, int depth)
    {
        qsizetype at = begin;
        while (!damaged && at + 8 <= end) {
            const char* p = file.constData() + at;
            const QByteArray id(p, 4);
            const quint32 size = u32(p + 4);
            const qsizetype body = at + 8;
            if (size > static_cast<quint64>(end - body)) {
                damaged = true;
                return;
            }
            if (id == "LIST" && size >= 4 && depth < 4) {
                walk(body + 4, body + size, depth + 1);
            } else if (id == "avih" && size >= 4) {
                microseconds = u32(file.constData() + body);
            } else if (id == "strf" && !haveFormat) {
                haveFormat = readFormat(file.mid(body, size), format);
            } else if (haveFormat && (id.endsWith("db") || id.endsWith("dc")) && size > 0) {
                QImage frame = decodeFrame(file.mid(body, size), format);
                if (frame.isNull()) {
                    damaged = true;
                    return;
                }
                frames.push_back(std::move(frame));
            }
            at = body + size + (size & 1);
        }
    }
};

void put32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

QByteArray chunk(const char* id, const QByteArray& body)
{
    QByteArray out(id, 4);
    put32(out, static_cast<quint32>(body.size()));
    out += body;
    if (body.size() & 1) out.append('\0');
    return out;
}

QByteArray list(const char* type, const QByteArray& body)
{
    return chunk("LIST", QByteArray(type, 4) + body);
}

}  // namespace

bool readAvi(const QString& path, AviClip& clip)
{
    clip = {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "AVI ") return false;
    const qsizetype end = std::min<qsizetype>(bytes.size(), 8 + static_cast<qsizetype>(u32(bytes.constData() + 4)));
    Walker walker(bytes);
    walker.walk(12, end, 0);
    if (walker.damaged || walker.frames.empty()) return false;
    clip.frames = std::move(walker.frames);
    if (walker.microseconds > 0) clip.frameMicroseconds = static_cast<int>(walker.microseconds);
    return true;
}

bool writeAvi(const QString& path, const AviClip& clip)
{
    if (clip.frames.empty()) return false;
    const int width = clip.frames.front().width();
    const int height = clip.frames.front().height();
    Format format;
    format.width = width;
    format.height = height;
    format.bits = 24;
    const auto frameBytes = static_cast<quint32>(format.frameBytes());
    const auto count = static_cast<quint32>(clip.frames.size());

    QByteArray avih;
    put32(avih, static_cast<quint32>(clip.frameMicroseconds));
    put32(avih, frameBytes * 1000000u / static_cast<quint32>(std::max(clip.frameMicroseconds, 1)));
    put32(avih, 0);
    put32(avih, 0x10);                                  // has an index
    put32(avih, count);
    put32(avih, 0);
    put32(avih, 1);
    put32(avih, frameBytes);
    put32(avih, static_cast<quint32>(width));
    put32(avih, static_cast<quint32>(height));
    for (int i = 0; i < 4; ++i) put32(avih, 0);

    QByteArray strh("vidsDIB ", 8);
    put32(strh, 0);
    put16(strh, 0);
    put16(strh, 0);
    put32(strh, 0);
    put32(strh, static_cast<quint32>(clip.frameMicroseconds));   // scale / rate = seconds a frame
    put32(strh, 1000000);
    put32(strh, 0);
    put32(strh, count);
    put32(strh, frameBytes);
    put32(strh, 0xFFFFFFFF);
    put32(strh, 0);
    put16(strh, 0);
    put16(strh, 0);
    put16(strh, static_cast<quint16>(width));
    put16(strh, static_cast<quint16>(height));

    QByteArray strf;
    put32(strf, 40);
    put32(strf, static_cast<quint32>(width));
    put32(strf, static_cast<quint32>(height));
    put16(strf, 1);
    put16(strf, 24);
    put32(strf, 0);
    put32(strf, frameBytes);
    for (int i = 0; i < 4; ++i) put32(strf, 0);

    QByteArray movi("movi", 4);
    QByteArray index;
    for (const QImage& source : clip.frames) {
        const QImage frame = source.convertToFormat(QImage::Format_RGB32).scaled(width, height);
        QByteArray data(static_cast<qsizetype>(frameBytes), '\0');
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<uchar*>(data.data() + (height - 1 - y) * format.stride());
            const auto* in = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                line[x * 3] = static_cast<uchar>(qBlue(in[x]));
                line[x * 3 + 1] = static_cast<uchar>(qGreen(in[x]));
                line[x * 3 + 2] = static_cast<uchar>(qRed(in[x]));
            }
        }
        index += QByteArray("00db", 4);
        put32(index, 0x10);
        put32(index, static_cast<quint32>(movi.size()));
        put32(index, frameBytes);
        movi += chunk("00db", data);
    }

    const QByteArray body = QByteArray("AVI ", 4) +
                            list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf))) +
                            chunk("LIST", movi) + chunk("idx1", index);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(chunk("RIFF", body)) > 0 && file.flush();
}

AviClip makeWorkingClip(int width, int height, int frameCount)
{
    AviClip clip;
    clip.frameMicroseconds = 100000;
    const int bar = std::max(width / 4, 1);
    for (int i = 0; i < frameCount; ++i) {
        QImage frame(width, height, QImage::Format_RGB32);
        frame.fill(QColor(192, 192, 192));
        QPainter painter(&frame);
        const int left = frameCount > 1 ? (width - bar) * i / (frameCount - 1) : 0;
        painter.fillRect(left, 2, bar, std::max(height - 4, 1), QColor(0, 0, 160));
        painter.end();
        clip.frames.push_back(frame);
    }
    return clip;
}

bool writeWorkingAvi(const QString& path)
{
    return writeAvi(path, makeWorkingClip());
}

// ---- Animation ------------------------------------------------------------------

Animation::Animation(QWidget* parent) : Control(parent, new QLabel)
{
    screen_ = static_cast<QLabel*>(inner());
    screen_->setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::NoFocus);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { showFrame((frame_ + 1) % frameCount()); });
}

bool Animation::Open(const QString& path)
{
    Stop();
    const bool ok = readAvi(path, clip_);
    showFrame(0);
    return ok;
}

void Animation::Play()
{
    if (frameCount() == 0) return;
    timer_->start(std::max(clip_.frameMicroseconds / 1000, 10));
}

void Animation::Stop() { timer_->stop(); }

bool Animation::isPlaying() const { return timer_->isActive(); }

void Animation::showFrame(int index)
{
    frame_ = index;
    if (index < 0 || index >= frameCount()) {
        screen_->clear();
        return;
    }
    screen_->setPixmap(QPixmap::fromImage(clip_.frames[static_cast<std::size_t>(index)]));
}

}  // namespace forms
