#pragma once

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QVariant>

#include <vector>

// One line of a reading as the document holds it.
struct ReadingLine {
    QString text;
    bool bold = false; // every character of the line is bold
    bool anyBold = false; // some character is bold
    bool allGreen = true; // every character is dark green
    QImage picture; // the picture on the line, if any
    QSizeF pictureSize; // the size the view lays the picture out at, in logical pixels
    QString pictureName; // what a screen reader says for it
};

inline std::vector<ReadingLine> readingLines(QTextDocument *document)
{
    std::vector<ReadingLine> lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        ReadingLine line;
        line.text = block.text();
        bool boldSoFar = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                const QString name = format.toImageFormat().name();
                line.pictureName = format.stringProperty(QTextFormat::ImageAltText);
                line.picture = qvariant_cast<QImage>(
                    document->resource(QTextDocument::ImageResource, QUrl(name)));
                line.pictureSize = document->documentLayout()
                                       ->handlerForObject(QTextFormat::ImageObject)
                                       ->intrinsicSize(document, fragment.position(), format);
                continue;
            }
            const bool bold = format.fontWeight() == QFont::Bold;
            boldSoFar = boldSoFar && bold;
            line.anyBold = line.anyBold || bold;
            line.allGreen = line.allGreen && format.foreground().color() == QColor(0, 128, 0);
        }
        line.bold = boldSoFar && !line.text.isEmpty() && line.picture.isNull();
        lines.push_back(line);
    }
    return lines;
}
