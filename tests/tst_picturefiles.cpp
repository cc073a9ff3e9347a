// Checks the committed pictures under resources/ (written by tools/pictures) against the exact
// file requirements the program relies on: rune stones, chakra symbols and the icon sizes.

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QtTest>

#include <cstdlib>

namespace {

const QString kResources = QStringLiteral(CV_RESOURCES_DIR);

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
        for (int i = 0; i < 4 * first.width(); ++i)
            sum += std::abs(first.constScanLine(y)[i] - second.constScanLine(y)[i]);
    }
    return sum / (4.0 * first.width() * first.height());
}

} // namespace

class TestPictureFiles : public QObject
{
    Q_OBJECT

private slots:
    void jpegFile_data();
    void jpegFile();
    void iconImageLoads_data();
    void iconImageLoads();
    void largerDrawingMatches_data();
    void largerDrawingMatches();
};

// Rune stones and chakra symbols: baseline colour JPEG at 72 dpi, of an exact size; the runes
// also within a narrow window of file sizes.
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
    // Compressed data stuffs every 0xFF with a zero, so a frame marker can only be a real frame.
    const qsizetype baselineFrame = bytes.indexOf("\xff\xc0");
    QVERIFY2(baselineFrame > 0 && !bytes.contains("\xff\xc2"), "not a baseline JPEG");
    QCOMPARE(int(uchar(bytes.at(baselineFrame + 9))), 3); // colour: three components

    const QImage image = QImage::fromData(bytes, "JPEG");
    QCOMPARE(image.size(), size);
    QCOMPARE(QPoint(image.dotsPerMeterX(), image.dotsPerMeterY()) * 0.0254, QPoint(72, 72));
    QVERIFY2(bytes.size() >= minBytes && bytes.size() <= maxBytes,
        qPrintable(QString::number(bytes.size())));
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
