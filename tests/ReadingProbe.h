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
    bool uneven = false; // bold only in part, or some character not dark green
    QImage picture;
    QSizeF pictureSize; // as the view lays it out, in logical pixels
    QString pictureName; // what a screen reader says for it
};

inline std::vector<ReadingLine> readingLines(QTextDocument *document)
{
    std::vector<ReadingLine> lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        ReadingLine line;
        line.text = block.text();
        bool allBold = true, anyBold = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                line.pictureName = format.stringProperty(QTextFormat::ImageAltText);
                line.picture = qvariant_cast<QImage>(document->resource(
                    QTextDocument::ImageResource, QUrl(format.toImageFormat().name())));
                line.pictureSize = document->documentLayout()
                                       ->handlerForObject(QTextFormat::ImageObject)
                                       ->intrinsicSize(document, it.fragment().position(), format);
                continue;
            }
            const bool bold = format.fontWeight() == QFont::Bold;
            allBold = allBold && bold;
            anyBold = anyBold || bold;
            line.uneven = line.uneven || format.foreground().color() != QColor(0, 128, 0);
        }
        line.bold = allBold && !line.text.isEmpty() && line.picture.isNull();
        line.uneven = line.uneven || line.bold != anyBold;
        lines.push_back(line);
    }
    return lines;
}
