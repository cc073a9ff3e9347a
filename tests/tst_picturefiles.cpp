// Checks the committed pictures under resources/ (written by tools/pictures) against the exact
// file requirements the program relies on: rune stones, chakra symbols and the icon sizes.

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QtTest>

#include <cstdlib>

#ifndef CV_RESOURCES_DIR
#error "CV_RESOURCES_DIR must name the resources folder (a string literal)"
#endif

namespace {

const QString kResources = QStringLiteral(CV_RESOURCES_DIR);

// What the marker segments of a JPEG file say, from SOI up to SOS.
struct JpegHeader {
    bool startOfImage = false;
    bool reachedScan = false; // walked all the way to SOS without a broken segment
    bool baseline = false; // SOF0 seen
    bool progressive = false; // SOF2 seen
    int components = 0; // from SOF0
    QSize frameSize; // from SOF0
    bool jfif = false;
    int densityUnit = -1;
    int densityX = -1;
    int densityY = -1;
};

int byteAt(const QByteArray &bytes, qsizetype at)
{
    return uchar(bytes.at(at));
}

int wordAt(const QByteArray &bytes, qsizetype at)
{
    return (byteAt(bytes, at) << 8) | byteAt(bytes, at + 1);
}

// Walks the segments: each is 0xFF, a marker byte, then (for most markers) a big-endian length
// that counts itself. Stops at SOS, where the compressed data begins, or at the first fault.
JpegHeader readJpegHeader(const QByteArray &bytes)
{
    JpegHeader header;
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xff || byteAt(bytes, 1) != 0xd8)
        return header;
    header.startOfImage = true;

    qsizetype at = 2;
    while (at + 1 < bytes.size() && byteAt(bytes, at) == 0xff) {
        const int marker = byteAt(bytes, at + 1);
        at += 2;
        if (marker == 0xff) { // fill byte: the marker follows
            --at;
            continue;
        }
        if (marker == 0xda) {
            header.reachedScan = true;
            return header;
        }
        if (marker == 0xd9)
            return header; // EOI before any scan
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7))
            continue; // no length field

        if (at + 2 > bytes.size())
            return header;
        const int length = wordAt(bytes, at);
        if (length < 2 || at + length > bytes.size())
            return header;
        const QByteArray data = bytes.mid(at + 2, length - 2);

        if (marker == 0xe0 && data.startsWith(QByteArray("JFIF\0", 5)) && data.size() >= 12) {
            header.jfif = true;
            header.densityUnit = byteAt(data, 7);
            header.densityX = wordAt(data, 8);
            header.densityY = wordAt(data, 10);
        } else if (marker == 0xc0 && data.size() >= 6) {
            header.baseline = true;
            header.frameSize = QSize(wordAt(data, 3), wordAt(data, 1));
            header.components = byteAt(data, 5);
        } else if (marker == 0xc2) {
            header.progressive = true;
        }
        at += length;
    }
    return header;
}

// The order the program stores the runes in.
const char *const kRuneKeys[]
    = { "algiz", "ansuz", "berkano", "eihwas", "fehu", "gebo", "hagalaz", "isa", "jera", "kenaz",
          "laguz", "mannaz", "nauthiz", "raidho", "sowilo", "thurisaz", "tiwas", "uruz" };

// How far apart two pictures of one size are: the mean difference of their colour and alpha
// channels, in levels of 255.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage first = a.convertToFormat(QImage::Format_ARGB32);
    const QImage second = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            const QRgb p = first.pixel(x, y);
            const QRgb q = second.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * first.width() * first.height());
}

} // namespace

class TestPictureFiles : public QObject
{
    Q_OBJECT

private slots:
    void parserReadsHandMadeHeader();
    void parserRejectsBrokenBytes();
    void jpegFile_data();
    void jpegFile();
    void iconImageLoads_data();
    void iconImageLoads();
    void largerDrawingMatches_data();
    void largerDrawingMatches();
};

// The parser itself must see what it is meant to see, or every header check below is void.
void TestPictureFiles::parserReadsHandMadeHeader()
{
    // SOI, JFIF APP0 at 72 x 72 dpi, a comment, a 113 x 151 three-component SOF0, then SOS.
    const QByteArray bytes = QByteArray::fromHex("ffd8"
                                                 "ffe000104a46494600010101004800480000"
                                                 "fffe00046869"
                                                 "ffc00011080097007103012200021101031101"
                                                 "ffda000c03010002110311003f00");
    const JpegHeader header = readJpegHeader(bytes);
    QVERIFY(header.reachedScan && header.jfif && header.baseline && !header.progressive);
    QCOMPARE(header.densityUnit, 1);
    QCOMPARE(header.densityX, 72);
    QCOMPARE(header.densityY, 72);
    QCOMPARE(header.components, 3);
    QCOMPARE(header.frameSize, QSize(113, 151));

    QByteArray progressive = bytes;
    progressive[progressive.indexOf(QByteArray::fromHex("ffc0")) + 1] = char(0xc2);
    const JpegHeader other = readJpegHeader(progressive);
    QVERIFY(other.progressive && !other.baseline);
}

void TestPictureFiles::parserRejectsBrokenBytes()
{
    QVERIFY(!readJpegHeader(QByteArray()).startOfImage);
    QVERIFY(!readJpegHeader(QByteArray::fromHex("89504e470d0a1a0a")).startOfImage);
    // A segment whose length runs past the end never reaches the scan.
    const JpegHeader truncated = readJpegHeader(QByteArray::fromHex("ffd8ffe000104a464946"));
    QVERIFY(truncated.startOfImage && !truncated.reachedScan && !truncated.jfif);
}

// Rune stones and chakra symbols: baseline three-component JPEG at 72 dpi, of an exact size; the
// runes also within a narrow window of file sizes.
void TestPictureFiles::jpegFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qint64>("minBytes");
    QTest::addColumn<qint64>("maxBytes");
    for (const char *key : kRuneKeys)
        QTest::newRow(key) << kResources + QStringLiteral("/runes/%1.jpg").arg(QLatin1String(key))
                           << QSize(113, 151) << qint64(6269) << qint64(6443);
    const QSize sizes[]
        = { { 40, 30 }, { 40, 35 }, { 40, 40 }, { 40, 40 }, { 40, 40 }, { 40, 40 }, { 40, 40 } };
    for (int i = 0; i < 7; ++i)
        QTest::addRow("chakra%d", i) << kResources + QStringLiteral("/chakras/chakra%1.jpg").arg(i)
                                     << sizes[i] << qint64(1) << qint64(1 << 20);
}

void TestPictureFiles::jpegFile()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(qint64, minBytes);
    QFETCH(qint64, maxBytes);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = file.readAll();
    QVERIFY2(bytes.size() >= minBytes && bytes.size() <= maxBytes,
        qPrintable(QString::number(bytes.size())));

    const JpegHeader header = readJpegHeader(bytes);
    QVERIFY(header.reachedScan);
    QVERIFY2(header.baseline && !header.progressive, "not a baseline JPEG");
    QCOMPARE(header.components, 3);
    QCOMPARE(header.frameSize, size);
    QVERIFY2(header.jfif, "no JFIF APP0 segment");
    QCOMPARE(header.densityUnit, 1);
    QCOMPARE(header.densityX, 72);
    QCOMPARE(header.densityY, 72);

    const QImage image = QImage::fromData(bytes, "JPEG");
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
}

void TestPictureFiles::iconImageLoads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    for (const int size : { 16, 32, 48, 64, 128, 256 }) {
        const QString name = QStringLiteral("veyloom-%1.png").arg(size);
        QTest::newRow(qPrintable(name)) << kResources + QStringLiteral("/icon/") + name << size;
    }
}

void TestPictureFiles::iconImageLoads()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
    // The alpha must be used: the corners lie outside the round design.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

// Every picture the program shows has a drawing at twice its size for high-density screens,
// next to it under Qt's name for it; scaled down, it must give back the small picture.
void TestPictureFiles::largerDrawingMatches_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("largerPath");
    const auto addRow = [](const QString &folder, const QString &name, const QString &extension) {
        const QString base = kResources + u'/' + folder + u'/' + name;
        QTest::newRow(qPrintable(name))
            << base + extension << base + QStringLiteral("@2x") + extension;
    };
    for (const char *key : kRuneKeys)
        addRow(QStringLiteral("runes"), QLatin1String(key), QStringLiteral(".jpg"));
    for (int i = 0; i < 7; ++i)
        addRow(
            QStringLiteral("chakras"), QStringLiteral("chakra%1").arg(i), QStringLiteral(".jpg"));
    addRow(QStringLiteral("icon"), QStringLiteral("veyloom-32"), QStringLiteral(".png"));
}

void TestPictureFiles::largerDrawingMatches()
{
    QFETCH(QString, path);
    QFETCH(QString, largerPath);
    QImageReader reader(largerPath);
    QCOMPARE(reader.format(), QImageReader(path).format());
    const QImage larger = reader.read();
    QVERIFY2(!larger.isNull(), qPrintable(largerPath + u' ' + reader.errorString()));
    const QImage small(path);
    QCOMPARE(larger.size(), small.size() * 2);
    // Finer edges and JPEG leave the two a few levels apart (1.3 to 5.8 when written); two
    // different runes or symbols are 15 or more.
    const double difference = meanDifference(
        larger.scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), small);
    QVERIFY2(difference < 8, qPrintable(QString::number(difference)));
}

QTEST_GUILESS_MAIN(TestPictureFiles)
#include "tst_picturefiles.moc"
