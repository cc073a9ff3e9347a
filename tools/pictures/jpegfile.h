#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>

// Writing JPEG files that meet exact requirements, and checking the written bytes against them.
namespace jpegfile {

// What the marker segments of a JPEG say, read by walking them from SOI up to SOS.
struct Facts {
    bool startOfImage = false;
    bool baselineFrame = false; // SOF0
    bool progressiveFrame = false; // SOF2
    int components = 0; // from the frame header (SOF0 or SOF2)
    QSize frameSize; // from the frame header
    bool jfif = false;
    int densityUnit = -1; // 1 = dots per inch
    int densityX = 0;
    int densityY = 0;
    qsizetype headerEnd = -1; // offset just after SOI and the JFIF APP0 segment
    QString error; // set when the segments cannot be walked
};

Facts inspect(const QByteArray &bytes);

// Baseline (not progressive), standard Huffman tables, at `quality` 1..100.
QByteArray encode(const QImage &image, int quality);

// `jpeg` with a COM segment carrying `text` inserted right after its SOI/APP0 header.
QByteArray withComment(const QByteArray &jpeg, const QByteArray &text);

struct SizedJpeg {
    QByteArray bytes;
    int quality = 0;
    qsizetype paddingBytes = 0; // size of the added COM segment, 0 if none
};

// Encodes at the highest quality whose size is at most `maxBytes` (binary search), then pads
// with a COM segment holding `note` (plus spaces) if the result is below `minBytes`.
std::optional<SizedJpeg> encodeInWindow(const QImage &image, qsizetype minBytes, qsizetype maxBytes,
    const QByteArray &note, QString *error);

// What a written file must satisfy.
struct Requirements {
    QSize size;
    qsizetype minBytes = 0;
    qsizetype maxBytes = std::numeric_limits<qsizetype>::max();
    int dotsPerInch = 72;
};

// Re-reads `path` and lists every way it misses the requirements (empty = all good): byte
// window, pixel size, colour baseline frame with 3 components, no progressive frame, JFIF
// density in dots per inch.
QStringList check(const QString &path, const Requirements &requirements);

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error);

} // namespace jpegfile
