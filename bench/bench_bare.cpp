// The floors for start-up, each up to its first paint, in a main window of the program's size:
//   bench_bare --empty TEXTS   an empty window
//   bench_bare TEXTS           the texts of the program's first screen as plain labels, in the
//                              same places, sizes and weights of Verdana
// TEXTS is what "bench_startup --texts" prints: the window's size, then one text a line.
#include "FirstPaint.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QTextStream>

namespace {

void addLabel(QWidget *parent, const QString &line)
{
    const QStringList fields = line.split(QLatin1Char(' '));
    if (fields.size() < 10)
        return;
    auto *label = new QLabel(fields.mid(9).join(QLatin1Char(' ')), parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(fields[0].toInt(), fields[1].toInt(), fields[2].toInt(), fields[3].toInt());
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(fields[4].toDouble());
    font.setBold(fields[5] == QLatin1String("1"));
    font.setUnderline(fields[6] == QLatin1String("1"));
    label->setFont(font);
    label->setAlignment(Qt::Alignment(fields[7].toInt()));
    label->setWordWrap(fields[8] == QLatin1String("1"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QFile texts(arguments.last());
    if (arguments.size() < 2 || !texts.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    QTextStream in(&texts);
    const QStringList size = in.readLine().split(QLatin1Char(' '));
    if (size.size() != 2)
        return 1;
    QMainWindow window;
    window.setFixedSize(size[0].toInt(), size[1].toInt());
    if (!arguments.contains(QStringLiteral("--empty"))) {
        auto *client = new QWidget;
        while (!in.atEnd())
            addLabel(client, in.readLine());
        window.setCentralWidget(client);
    }
    FirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}
