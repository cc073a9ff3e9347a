// veyloom-pictures: draws every picture CV Veyloom ships and writes it under <resources>.
//
//   QT_QPA_PLATFORM=offscreen veyloom-pictures <repo>/resources
//
// All randomness uses fixed seeds, so running it again reproduces the files byte for byte.
// After writing, each file is read back and checked; any miss makes the program exit with 1.

#include "chakras.h"
#include "icon.h"
#include "jpegfile.h"
#include "runes.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

namespace {

// The byte window the rune files must fall into (inclusive).
constexpr qsizetype kRuneMinBytes = 6269;
constexpr qsizetype kRuneMaxBytes = 6443;

// Each picture the program shows is also drawn at twice its size for high-density screens,
// saved next to it under the name Qt looks for: "algiz.jpg" and "algiz@2x.jpg".
constexpr int kLargerScale = 2;

// The larger rune drawings have four times the pixels in at most twice the bytes, which keeps
// the repository small. That leaves a quality of about 80 to 85, a little below the small files',
// which is fine since JPEG's blocks look half as large on the screen; the floor keeps it there.
constexpr qsizetype kLargerRuneMaxBytes = 2 * kRuneMaxBytes;
constexpr int kLargerRuneMinQuality = 75;

// The chakra symbols have no size window; a high fixed quality keeps their edges clean.
constexpr int kChakraQuality = 92;

// The icon size the windows show as a picture, which gets a larger drawing too.
constexpr int kShownIconSize = 32;

// The file name of a picture drawn at `scale`: "algiz.jpg" at 1, "algiz@2x.jpg" at 2.
QString scaledName(const QString &name, int scale)
{
    QString scaled = name;
    return scale == 1 ? name
                      : scaled.insert(name.lastIndexOf(u'.'), QStringLiteral("@%1x").arg(scale));
}

// One progress line on stdout.
void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
}

bool fail(const QString &path, const QString &what)
{
    std::fprintf(stderr, "veyloom-pictures: %s: %s\n", qPrintable(path), qPrintable(what));
    return false;
}

// Runs the read-back check on a written JPEG and reports every problem found.
bool verified(const QString &path, const jpegfile::Requirements &requirements)
{
    const QStringList problems = jpegfile::check(path, requirements);
    for (const QString &problem : problems)
        fail(path, problem);
    return problems.isEmpty();
}

bool writeRune(const QDir &dir, int index, int scale)
{
    const QString key = runes::signs().at(index).key;
    const QString path = dir.filePath(scaledName(key + QStringLiteral(".jpg"), scale));
    const QByteArray note = "CV Veyloom rune stone: " + key.toLatin1();
    jpegfile::Requirements requirements { QSize(runes::kWidth, runes::kHeight), kRuneMinBytes,
        kRuneMaxBytes };
    if (scale != 1)
        requirements = { requirements.size * scale, 0, kLargerRuneMaxBytes,
            requirements.dotsPerInch * scale };

    QString error;
    const auto jpeg = jpegfile::encodeInWindow(runes::renderRuneStone(index, scale),
        requirements.minBytes, requirements.maxBytes, note, &error);
    if (!jpeg || !jpegfile::writeBytes(path, jpeg->bytes, &error))
        return fail(path, error);
    if (scale != 1 && jpeg->quality < kLargerRuneMinQuality)
        return fail(path,
            QStringLiteral("quality %1 is below %2").arg(jpeg->quality).arg(kLargerRuneMinQuality));
    QString line = QStringLiteral("runes/%1  quality %2  %3 bytes")
                       .arg(QFileInfo(path).fileName())
                       .arg(jpeg->quality)
                       .arg(jpeg->bytes.size());
    if (jpeg->paddingBytes > 0)
        line += QStringLiteral("  (comment padding %1 bytes)").arg(jpeg->paddingBytes);
    say(line);
    return verified(path, requirements);
}

bool writeRunes(const QDir &dir)
{
    bool ok = true;
    for (int i = 0; i < runes::signs().size(); ++i) {
        ok = writeRune(dir, i, 1) && ok;
        ok = writeRune(dir, i, kLargerScale) && ok;
    }
    return ok;
}

bool writeChakra(const QDir &dir, int index, int scale)
{
    const QString path = dir.filePath(scaledName(QStringLiteral("chakra%1.jpg").arg(index), scale));
    QString error;
    const QByteArray bytes = jpegfile::encode(chakras::renderChakra(index, scale), kChakraQuality);
    if (bytes.isEmpty() || !jpegfile::writeBytes(path, bytes, &error))
        return fail(path, bytes.isEmpty() ? QStringLiteral("JPEG encoding failed") : error);
    say(QStringLiteral("chakras/%1  quality %2  %3 bytes")
            .arg(QFileInfo(path).fileName())
            .arg(kChakraQuality)
            .arg(bytes.size()));
    jpegfile::Requirements requirements { chakras::pictureSize(index) * scale };
    requirements.dotsPerInch *= scale;
    return verified(path, requirements);
}

bool writeChakras(const QDir &dir)
{
    bool ok = true;
    for (int i = 0; i < chakras::kCount; ++i) {
        ok = writeChakra(dir, i, 1) && ok;
        ok = writeChakra(dir, i, kLargerScale) && ok;
    }
    return ok;
}

bool writeIcon(const QDir &dir, int size, int scale)
{
    const QString path
        = dir.filePath(scaledName(QStringLiteral("veyloom-%1.png").arg(size), scale));
    QImageWriter writer(path, "png");
    if (!writer.write(icon::renderIcon(size, scale)))
        return fail(path, writer.errorString());
    const QImage back(path);
    if (back.size() != QSize(size, size) * scale || !back.hasAlphaChannel())
        return fail(path,
            QStringLiteral("does not read back as a %1 px image with alpha").arg(size * scale));
    say(QStringLiteral("icon/%1").arg(QFileInfo(path).fileName()));
    return true;
}

bool writeIcons(const QDir &dir)
{
    bool ok = true;
    for (const int size : icon::sizes())
        ok = writeIcon(dir, size, 1) && ok;
    return writeIcon(dir, kShownIconSize, kLargerScale) && ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: veyloom-pictures <resources directory>\n");
        return 2;
    }

    const QDir resources(args.at(1));
    for (const char *sub : { "runes", "chakras", "icon" }) {
        if (!resources.mkpath(QString::fromLatin1(sub))) {
            fail(resources.filePath(QString::fromLatin1(sub)),
                QStringLiteral("cannot create the folder"));
            return 1;
        }
    }

    // Every group runs even if an earlier one failed, so one run reports all problems.
    bool ok = writeRunes(QDir(resources.filePath(QStringLiteral("runes"))));
    ok = writeChakras(QDir(resources.filePath(QStringLiteral("chakras")))) && ok;
    ok = writeIcons(QDir(resources.filePath(QStringLiteral("icon")))) && ok;
    if (!ok) {
        std::fprintf(stderr, "veyloom-pictures: some pictures do not meet their requirements\n");
        return 1;
    }
    return 0;
}
