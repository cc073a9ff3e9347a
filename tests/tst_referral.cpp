#include "ModalAnswerer.h"
#include "UrlRecorder.h"
#include "frmExitScreen.h"

#include <QLineEdit>
#include <QPushButton>
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

// Fills a fresh exit screen's form and presses "Refer A Friend Now", answering what box it shows.
bool submit(const QStringList &fields, ModalAnswerer &answerer)
{
    frmExitScreen screen;
    screen.show();
    if (!QTest::qWaitForWindowExposed(&screen))
        return false;
    const QStringList names
        = { u"txtName"_s, u"txtEmail"_s, u"txtMessage"_s, u"txtFriendName"_s, u"txtFriendEmail"_s };
    for (qsizetype i = 0; i < names.size(); ++i) {
        QWidget *field = screen.findChild<QWidget *>(names.at(i));
        if (!field)
            return false;
        field->setProperty(qobject_cast<QLineEdit *>(field) ? "text" : "plainText", fields.at(i));
    }
    auto *cmdSubmit = screen.findChild<QPushButton *>(u"cmdSubmit"_s);
    if (!cmdSubmit)
        return false;
    answerer.answerNext();
    QTest::mouseClick(cmdSubmit, Qt::LeftButton);
    return true;
}
} // namespace

class TestReferral : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void checks_data();
    void checks();
    void formSendsEveryValue_data();
    void formSendsEveryValue();
};

// Addresses are checked before the fields, so a field's message shows only with good addresses.
void TestReferral::checks_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("shown");

    const QString proper = u"Please Enter Proper Email Address"_s;
    const auto with = [](const QList<std::pair<Field, QString>> &changes) {
        QStringList fields = { u"Ann"_s, u"ann@example.com"_s, u"Your Message\r\n"_s, u"Bea"_s,
            u"bea@example.org"_s };
        for (const auto &[field, value] : changes)
            fields[field] = value;
        return fields;
    };

    QTest::newRow("untouched form")
        << with({ { Name, u"Your Name"_s }, { Email, u"Your Email Address"_s },
               { FriendName, u"Friend's Name"_s }, { FriendEmail, u"Friend's Email Address"_s } })
        << proper;
    QTest::newRow("same address, other blanks")
        << with({ { Email, u"  ann"_s }, { FriendEmail, u"ann   "_s } })
        << u"Please Enter Distinct Email Addresses"_s;
    QTest::newRow("same address, other case")
        << with({ { FriendEmail, u"Ann@Example.com"_s } }) << QString();
    QTest::newRow("@ without .") << with({ { Email, u"ann@example"_s } }) << proper;
    QTest::newRow("friend's e-mail left")
        << with({ { FriendEmail, u"Friend's Email Address"_s } }) << proper;
    QTest::newRow("name before message")
        << with({ { Name, u" Your Name  "_s }, { Message, QString() } })
        << u"Please Enter Your Name"_s;
    QTest::newRow("message before friend's name")
        << with({ { Message, u"  Your Message "_s }, { FriendName, QString() } })
        << u"Please Enter Your Message"_s;
    QTest::newRow("friend's name left")
        << with({ { FriendName, u"   "_s } }) << u"Please Enter Your Friend's Name"_s;
}

void TestReferral::checks()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, shown);
    UrlRecorder browser;
    ModalAnswerer answerer;
    QVERIFY(submit(fields, answerer));
    QCOMPARE(answerer.seen, shown.isEmpty() ? 0 : 1);
    QCOMPARE(answerer.text, shown);
    QCOMPARE(browser.urls.size(), shown.isEmpty() ? 1 : 0);
}

void TestReferral::formSendsEveryValue_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("sent");
    // Each value goes into every field, with blanks around it that are not sent.
    const auto row = [](const char *title, const QString &value) {
        const QStringList sent = { value, u"ann"_s + value + u"@example.com"_s, value + u"\r\n"_s,
            value, u"bea"_s + value + u"@example.org"_s };
        QStringList typed;
        for (const QString &field : sent)
            typed << u"  "_s + field + u" "_s;
        QTest::newRow(title) << typed << sent;
    };
    row("query syntax", u"Tom & Jerry&taf6=x #1 1+1 %20 100%"_s);
    // Only U+0020 counts as a blank.
    row("non-ASCII", u"\t\u00A0Zoë 你好 🙂\u200F\u3000"_s);
    const QStringList longest = { u"é&=#+%"_s.repeated(17).left(100),
        u"a&%+é"_s.repeated(49).left(242) + u"@example.com"_s, u"Ω\r\n&"_s.repeated(250),
        u"\u200F#"_s.repeated(50), u"b=é"_s.repeated(81).left(242) + u"@example.org"_s };
    QTest::newRow("longest allowed") << longest << longest;
    // A character past a name's or an address's limit is not taken.
    QStringList oneOver = longest;
    for (Field field : { Name, Email, FriendName, FriendEmail })
        oneOver[field] += u'x';
    QTest::newRow("one over the limit") << oneOver << longest;
}

void TestReferral::formSendsEveryValue()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, sent);
    UrlRecorder browser;
    ModalAnswerer answerer;
    QVERIFY(submit(typed, answerer));
    QCOMPARE(answerer.seen, 0);
    QCOMPARE(browser.urls.size(), 1);
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
