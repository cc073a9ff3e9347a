#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Takes the place of the browser: records every page the program asks to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    UrlRecorder()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "record");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "record");
    }
    ~UrlRecorder() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    QList<QUrl> urls;

    QStringList addresses() const
    {
        QStringList list;
        for (const QUrl &url : urls)
            list << QString::fromUtf8(url.toEncoded());
        return list;
    }

public slots:
    void record(const QUrl &url) { urls.append(url); }
};
