#include "FindControl.h"
#include "ModalAnswerer.h"
#include "UrlRecorder.h"
#include "frmExitScreen.h"

#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
using Parameters = QList<std::pair<QString, QString>>;

// The form's fields in the order the address sends them.
enum Field { Name, Email, Message, FriendName, FriendEmail };

// Splits a query the way a form handler on the server does: "&" between parameters, "=" after
// the key, "+" a blank, then percent-decoding into UTF-8.
Parameters serverDecode(const QByteArray &query)
{
    Parameters parameters;
    for (const QByteArray &part : query.split('&')) {
        const qsizetype equals = part.indexOf('=');
        QByteArray value = equals < 0 ? QByteArray() : part.mid(equals + 1);
        value.replace('+', ' ');
        parameters.append({ QString::fromUtf8(QByteArray::fromPercentEncoding(part.left(equals))),
            QString::fromUtf8(QByteArray::fromPercentEncoding(value)) });
    }
    return parameters;
}

} // namespace

class TestReferral : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void submit_data();
    void submit();
};

// The form as typed, and either the box it shows or the values it sends. Addresses are checked
// before the fields, so a field's message shows only with good addresses.
void TestReferral::submit_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("sent");

    const QString proper = u"Please Enter Proper Email Address"_s;
    const auto with = [](const QList<std::pair<Field, QString>> &changes) {
        QStringList fields = { u"Ann"_s, u"ann@example.com"_s, u"Your Message\r\n"_s, u"Bea"_s,
            u"bea@example.org"_s };
        for (const auto &[field, value] : changes)
            fields[field] = value;
        return fields;
    };
    const auto refused = [](const char *title, const QStringList &typed, const QString &shown) {
        QTest::newRow(title) << typed << shown << QStringList();
    };
    refused("untouched form",
        with({ { Name, u"Your Name"_s }, { Email, u"Your Email Address"_s },
            { FriendName, u"Friend's Name"_s }, { FriendEmail, u"Friend's Email Address"_s } }),
        proper);
    refused("same address, other blanks",
        with({ { Email, u"  ann"_s }, { FriendEmail, u"ann   "_s } }),
        u"Please Enter Distinct Email Addresses"_s);
    refused("@ without .", with({ { Email, u"ann@example"_s } }), proper);
    refused("friend's e-mail left", with({ { FriendEmail, u"Friend's Email Address"_s } }), proper);
    refused("name before message", with({ { Name, u" Your Name  "_s }, { Message, QString() } }),
        u"Please Enter Your Name"_s);
    refused("message before friend's name",
        with({ { Message, u"  Your Message "_s }, { FriendName, QString() } }),
        u"Please Enter Your Message"_s);
    refused("friend's name left", with({ { FriendName, u"   "_s } }),
        u"Please Enter Your Friend's Name"_s);
    const QStringList otherCase = with({ { FriendEmail, u"Ann@Example.com"_s } });
    QTest::newRow("same address, other case") << otherCase << QString() << otherCase;

    // Each value goes into every field, with blanks around it that are not sent.
    const auto sends = [](const char *title, const QString &value) {
        const QStringList sent = { value, u"ann"_s + value + u"@example.com"_s, value + u"\r\n"_s,
            value, u"bea"_s + value + u"@example.org"_s };
        QStringList typed;
        for (const QString &field : sent)
            typed << u"  "_s + field + u" "_s;
        QTest::newRow(title) << typed << QString() << sent;
    };
    sends("query syntax", u"Tom & Jerry&taf6=x #1 1+1 %20 100%"_s);
    // Only U+0020 counts as a blank.
    sends("non-ASCII", u"\t\u00A0Zoë 你好 🙂\u200F\u3000"_s);
    const QStringList longest = { u"é&=#+%"_s.repeated(17).left(100),
        u"a&%+é"_s.repeated(49).left(242) + u"@example.com"_s, u"Ω\r\n&"_s.repeated(250),
        u"\u200F#"_s.repeated(50), u"b=é"_s.repeated(81).left(242) + u"@example.org"_s };
    QTest::newRow("longest allowed") << longest << QString() << longest;
    // A character past a name's or an address's limit is not taken.
    QStringList oneOver = longest;
    for (Field field : { Name, Email, FriendName, FriendEmail })
        oneOver[field] += u'x';
    QTest::newRow("one over the limit") << oneOver << QString() << longest;
}

void TestReferral::submit()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, sent);
    frmExitScreen screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    const QString names[]
        = { u"txtName"_s, u"txtEmail"_s, u"txtMessage"_s, u"txtFriendName"_s, u"txtFriendEmail"_s };
    for (Field field : { Name, Email, Message, FriendName, FriendEmail }) {
        FETCH_CONTROL(QWidget, control, screen, names[field]);
        control->setProperty(
            qobject_cast<QLineEdit *>(control) ? "text" : "plainText", typed.at(field));
    }
    FETCH_CONTROL(QWidget, cmdSubmit, screen, u"cmdSubmit"_s);
    UrlRecorder browser;
    ModalAnswerer answerer;
    answerer.answerNext();
    QTest::mouseClick(cmdSubmit, Qt::LeftButton);

    QCOMPARE(answerer.seen, shown.isEmpty() ? 0 : 1);
    QCOMPARE(answerer.text, shown);
    QCOMPARE(browser.urls.size(), sent.isEmpty() ? 0 : 1);
    if (sent.isEmpty())
        return;
    const QUrl url = browser.urls.first();
    QCOMPARE(url.adjusted(QUrl::RemoveQuery).toString(),
        u"http://www.orravine.com/cvsw-refer-a-friend.php"_s);
    Parameters expected;
    for (qsizetype i = 0; i < sent.size(); ++i)
        expected.append({ u"taf%1"_s.arg(i + 1), sent.at(i) });
    expected.append({ u"taf6"_s, u"http://www.cv-veyloom.com/"_s });
    QCOMPARE(serverDecode(url.query(QUrl::FullyEncoded).toLatin1()), expected);
}

QTEST_MAIN(TestReferral)
#include "tst_referral.moc"
