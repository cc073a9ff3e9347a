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
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

namespace {

// The byte window the rune files must fall into (inclusive).
constexpr qsizetype kRuneMinBytes = 6269;
constexpr qsizetype kRuneMaxBytes = 6443;

// The chakra symbols have no size window; a high fixed quality keeps their edges clean.
constexpr int kChakraQuality = 92;

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

bool writeRunes(const QDir &dir)
{
    bool ok = true;
    const QList<runes::RuneSign> &signs = runes::signs();
    for (int i = 0; i < signs.size(); ++i) {
        const QString key = signs.at(i).key;
        const QString path = dir.filePath(key + QStringLiteral(".jpg"));
        const QByteArray note = "CV Veyloom rune stone: " + key.toLatin1();

        QString error;
        const auto jpeg = jpegfile::encodeInWindow(
            runes::renderRuneStone(i), kRuneMinBytes, kRuneMaxBytes, note, &error);
        if (!jpeg || !jpegfile::writeBytes(path, jpeg->bytes, &error)) {
            ok = fail(path, error);
            continue;
        }
        QString line = QStringLiteral("runes/%1.jpg  quality %2  %3 bytes")
                           .arg(key)
                           .arg(jpeg->quality)
                           .arg(jpeg->bytes.size());
        if (jpeg->paddingBytes > 0)
            line += QStringLiteral("  (comment padding %1 bytes)").arg(jpeg->paddingBytes);
        say(line);
        ok = verified(path, { QSize(runes::kWidth, runes::kHeight), kRuneMinBytes, kRuneMaxBytes })
            && ok;
    }
    return ok;
}

bool writeChakras(const QDir &dir)
{
    bool ok = true;
    for (int i = 0; i < chakras::kCount; ++i) {
        const QString name = QStringLiteral("chakra%1.jpg").arg(i);
        const QString path = dir.filePath(name);
        QString error;
        const QByteArray bytes = jpegfile::encode(chakras::renderChakra(i), kChakraQuality);
        if (bytes.isEmpty() || !jpegfile::writeBytes(path, bytes, &error)) {
            ok = fail(path, bytes.isEmpty() ? QStringLiteral("JPEG encoding failed") : error);
            continue;
        }
        say(QStringLiteral("chakras/%1  quality %2  %3 bytes")
                .arg(name)
                .arg(kChakraQuality)
                .arg(bytes.size()));
        ok = verified(path, { chakras::pictureSize(i) }) && ok;
    }
    return ok;
}

bool writeIcons(const QDir &dir)
{
    bool ok = true;
    for (const int size : icon::sizes()) {
        const QString name = QStringLiteral("veyloom-%1.png").arg(size);
        const QString path = dir.filePath(name);
        QImageWriter writer(path, "png");
        if (!writer.write(icon::renderIcon(size))) {
            ok = fail(path, writer.errorString());
            continue;
        }
        const QImage back(path);
        if (back.size() != QSize(size, size) || !back.hasAlphaChannel())
            ok = fail(
                path, QStringLiteral("does not read back as a %1 px image with alpha").arg(size));
        else
            say(QStringLiteral("icon/%1").arg(name));
    }
    return ok;
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
