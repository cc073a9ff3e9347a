#include "jpegfile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace jpegfile {

namespace {

constexpr uchar kMarkerSoi = 0xd8;
constexpr uchar kMarkerEoi = 0xd9;
constexpr uchar kMarkerSos = 0xda;
constexpr uchar kMarkerSof0 = 0xc0;
constexpr uchar kMarkerSof2 = 0xc2;
constexpr uchar kMarkerApp0 = 0xe0;
constexpr uchar kMarkerCom = 0xfe;

int byteAt(const QByteArray &bytes, qsizetype at)
{
    return uchar(bytes.at(at));
}

int word(const QByteArray &bytes, qsizetype at)
{
    return (byteAt(bytes, at) << 8) | byteAt(bytes, at + 1);
}

void readJfif(const QByteArray &segment, Facts &facts)
{
    // APP0 payload: "JFIF\0", version (2), unit (1), X density (2), Y density (2), ...
    if (segment.size() < 12 || !segment.startsWith(QByteArray("JFIF\0", 5)))
        return;
    facts.jfif = true;
    facts.densityUnit = byteAt(segment, 7);
    facts.densityX = word(segment, 8);
    facts.densityY = word(segment, 10);
}

void readFrame(const QByteArray &segment, Facts &facts)
{
    // SOF payload: precision (1), height (2), width (2), component count (1), ...
    if (segment.size() < 6)
        return;
    facts.frameSize = QSize(word(segment, 3), word(segment, 1));
    facts.components = byteAt(segment, 5);
}

} // namespace

Facts inspect(const QByteArray &bytes)
{
    Facts facts;
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xff || byteAt(bytes, 1) != kMarkerSoi) {
        facts.error = QStringLiteral("no SOI marker at the start");
        return facts;
    }
    facts.startOfImage = true;

    qsizetype at = 2;
    while (true) {
        if (at + 1 >= bytes.size() || byteAt(bytes, at) != 0xff) {
            facts.error = QStringLiteral("broken marker at byte %1").arg(at);
            return facts;
        }
        while (at + 1 < bytes.size() && byteAt(bytes, at + 1) == 0xff)
            ++at; // fill bytes
        const int marker = byteAt(bytes, at + 1);
        at += 2;
        if (marker == kMarkerSos || marker == kMarkerEoi)
            return facts; // entropy-coded data follows; the header is complete
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7))
            continue; // markers without a length field

        if (at + 2 > bytes.size()) {
            facts.error = QStringLiteral("truncated segment at byte %1").arg(at);
            return facts;
        }
        const int length = word(bytes, at);
        if (length < 2 || at + length > bytes.size()) {
            facts.error = QStringLiteral("bad segment length at byte %1").arg(at);
            return facts;
        }
        const QByteArray segment = bytes.mid(at + 2, length - 2);
        if (marker == kMarkerApp0 && !facts.jfif) {
            readJfif(segment, facts);
            if (facts.jfif && at == 4)
                facts.headerEnd = at + length;
        } else if (marker == kMarkerSof0) {
            facts.baselineFrame = true;
            readFrame(segment, facts);
        } else if (marker == kMarkerSof2) {
            facts.progressiveFrame = true;
            readFrame(segment, facts); // so the report can still tell size and components
        }
        at += length;
    }
}

QByteArray encode(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(false);
    writer.setOptimizedWrite(false);
    if (!writer.write(image))
        return {};
    return bytes;
}

QByteArray withComment(const QByteArray &jpeg, const QByteArray &text)
{
    const Facts facts = inspect(jpeg);
    if (facts.headerEnd < 0 || text.size() + 2 > 0xffff)
        return {};
    QByteArray segment;
    segment.append(char(0xff)).append(char(kMarkerCom));
    const qsizetype length = text.size() + 2; // the length field counts itself
    segment.append(char(length >> 8)).append(char(length & 0xff));
    segment.append(text);
    QByteArray result = jpeg;
    result.insert(facts.headerEnd, segment);
    return result;
}

std::optional<SizedJpeg> encodeInWindow(const QImage &image, qsizetype minBytes, qsizetype maxBytes,
    const QByteArray &note, QString *error)
{
    // Binary search for the highest quality that still fits under the ceiling. JPEG size grows
    // with quality (closely enough at these sizes), and every candidate is measured anyway.
    SizedJpeg best;
    int low = 1;
    int high = 100;
    while (low <= high) {
        const int quality = (low + high) / 2;
        const QByteArray bytes = encode(image, quality);
        if (bytes.isEmpty()) {
            *error = QStringLiteral("the JPEG writer failed at quality %1").arg(quality);
            return std::nullopt;
        }
        if (bytes.size() <= maxBytes) {
            best = SizedJpeg { bytes, quality, 0 };
            low = quality + 1;
        } else {
            high = quality - 1;
        }
    }
    if (best.quality == 0) {
        *error = QStringLiteral("even quality 1 is above %1 bytes; simplify the texture")
                     .arg(maxBytes);
        return std::nullopt;
    }
    if (best.bytes.size() >= minBytes)
        return best;

    // Too small: a comment segment (4 bytes of marker and length plus its text) fills the gap.
    // The note is padded with spaces to the exact length; if the note alone is longer than the
    // gap the file simply ends up a little further inside the window.
    const qsizetype gap = minBytes - best.bytes.size();
    QByteArray text = note;
    if (text.size() + 4 < gap)
        text.append(QByteArray(gap - 4 - text.size(), ' '));
    best.bytes = withComment(best.bytes, text);
    best.paddingBytes = text.size() + 4;
    if (best.bytes.size() < minBytes || best.bytes.size() > maxBytes) {
        *error = QStringLiteral("padding could not bring the file into %1..%2 bytes")
                     .arg(minBytes)
                     .arg(maxBytes);
        return std::nullopt;
    }
    return best;
}

QStringList check(const QString &path, const Requirements &requirements)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return { QStringLiteral("cannot be opened: %1").arg(file.errorString()) };
    const QByteArray bytes = file.readAll();

    QStringList problems;
    if (bytes.size() < requirements.minBytes || bytes.size() > requirements.maxBytes) {
        problems << QStringLiteral("is %1 bytes, outside %2..%3")
                        .arg(bytes.size())
                        .arg(requirements.minBytes)
                        .arg(requirements.maxBytes);
    }

    QImageReader reader(path, "jpeg");
    const QImage image = reader.read();
    if (image.isNull())
        problems << QStringLiteral("does not load: %1").arg(reader.errorString());
    else if (image.size() != requirements.size)
        problems << QStringLiteral("loads as %1 x %2 pixels, expected %3 x %4")
                        .arg(image.width())
                        .arg(image.height())
                        .arg(requirements.size.width())
                        .arg(requirements.size.height());

    const Facts facts = inspect(bytes);
    if (!facts.error.isEmpty())
        problems << QStringLiteral("has unreadable markers: %1").arg(facts.error);
    if (!facts.baselineFrame)
        problems << QStringLiteral("has no baseline SOF0 frame");
    if (facts.progressiveFrame)
        problems << QStringLiteral("has a progressive SOF2 frame");
    if (facts.components != 3)
        problems << QStringLiteral("has %1 colour components, expected 3").arg(facts.components);
    if (facts.frameSize.isValid() && facts.frameSize != requirements.size)
        problems << QStringLiteral("the frame header says %1 x %2 pixels")
                        .arg(facts.frameSize.width())
                        .arg(facts.frameSize.height());
    if (!facts.jfif)
        problems << QStringLiteral("has no JFIF APP0 header");
    else if (facts.densityUnit != 1 || facts.densityX != requirements.dotsPerInch
        || facts.densityY != requirements.dotsPerInch)
        problems << QStringLiteral("JFIF density is %1 x %2 with unit %3, expected %4 dpi")
                        .arg(facts.densityX)
                        .arg(facts.densityY)
                        .arg(facts.densityUnit)
                        .arg(requirements.dotsPerInch);
    return problems;
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    // QSaveFile: a failed run never leaves a half-written picture behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace jpegfile
