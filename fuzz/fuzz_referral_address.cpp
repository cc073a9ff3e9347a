#include "Referral.h"
#include "WebAddresses.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype FieldCount = 5;

void require(bool holds, const QString &property, const QString &address)
{
    if (holds)
        return;
    std::fprintf(stderr, "Referral address check failed: %s\naddress: %s\n",
        qUtf8Printable(property), qUtf8Printable(address));
    std::abort();
}

// The first four NUL bytes end the first four fields; whatever follows, NULs and all, is the
// fifth, so every byte value can reach the last field.
QList<QString> splitFields(const QByteArray &input)
{
    QList<QString> fields;
    qsizetype begin = 0;
    while (fields.size() < FieldCount - 1) {
        const qsizetype end = input.indexOf('\0', begin);
        if (end < 0)
            break;
        fields.append(QString::fromUtf8(input.sliced(begin, end - begin)));
        begin = end + 1;
    }
    fields.append(QString::fromUtf8(input.sliced(begin)));
    while (fields.size() < FieldCount)
        fields.append(QString());
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QString> fields = splitFields(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const Referral::ReferralRecord record { fields[0], fields[1], fields[2], fields[3], fields[4] };
    const QString address = Referral::BuildReferralAddress(record);

    for (const QChar c : address)
        require(c.unicode() >= 0x21 && c.unicode() <= 0x7e, u"every character is printable ASCII"_s,
            address);

    // Parsed the way the program hands the address to the browser.
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode);
    require(url.isValid(), u"the address is valid in strict mode"_s, address);
    require(url.scheme() == u"http"_s, u"the scheme is http"_s, address);
    require(url.host() == WebAddresses::MainHost, u"the host is the main host"_s, address);
    require(
        url.path() == u"/cvsw-refer-a-friend.php"_s, u"the path is the referral page"_s, address);
    require(!url.hasFragment() && !address.contains(u'#'), u"there is no fragment"_s, address);
    require(
        url.toEncoded() == address.toUtf8(), u"the browser gets the address unchanged"_s, address);

    const qsizetype mark = address.indexOf(u'?');
    require(mark >= 0 && address.first(mark) == WebAddresses::ReferAFriend,
        u"the referral page comes before the query"_s, address);
    const QStringList pairs = address.sliced(mark + 1).split(u'&');
    require(pairs.size() == FieldCount + 1, u"the query has six parameters"_s, address);
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const QStringList keyValue = pairs[i].split(u'=');
        require(
            keyValue.size() == 2, u"parameter %1 is one key and one value"_s.arg(i + 1), address);
        require(
            keyValue[0] == u"taf%1"_s.arg(i + 1), u"parameter %1 is taf%1"_s.arg(i + 1), address);
        if (i < FieldCount)
            require(QByteArray::fromPercentEncoding(keyValue[1].toLatin1()) == fields[i].toUtf8(),
                u"taf%1 decodes back to its field"_s.arg(i + 1), address);
        else
            require(
                keyValue[1] == WebAddresses::ProgramSite, u"taf6 is the program's site"_s, address);
    }
    return 0;
}
