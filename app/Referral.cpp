#include "Referral.h"

#include "MessageBox.h"
#include "WebAddresses.h"
#include "modHelp.h"

#include <QLineEdit>
#include <QUrl>
#include <QValidator>

using namespace Qt::StringLiterals;

namespace Referral {

namespace {
bool isMissing(const QString &value, const QString &placeholder)
{
    return value.isEmpty() || value == placeholder;
}

QString encoded(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

bool endsInPair(const QString &text, qsizetype end)
{
    return end > 1 && text.at(end - 1).isLowSurrogate() && text.at(end - 2).isHighSurrogate();
}

// QLineEdit's own limit counts UTF-16 units and can cut a character in two.
class CharacterLimit final : public QValidator
{
public:
    CharacterLimit(int maxCharacters, QObject *parent)
        : QValidator(parent)
        , m_maxCharacters(maxCharacters)
    { }

    State validate(QString &input, int &pos) const override
    {
        qsizetype excess = -m_maxCharacters;
        for (qsizetype end = input.size(); end > 0; end -= endsInPair(input, end) ? 2 : 1)
            ++excess;
        // The text just typed or pasted ends at the cursor.
        qsizetype cut = pos;
        for (; excess > 0 && cut > 0; --excess)
            cut -= endsInPair(input, cut) ? 2 : 1;
        input.remove(cut, pos - cut);
        pos = int(cut);
        return excess > 0 ? Invalid : Acceptable;
    }

private:
    const int m_maxCharacters;
};
} // namespace

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

ReferralRecord makeRecord(const QString &name, const QString &email, const QString &message,
    const QString &friendName, const QString &friendEmail)
{
    return { trimBlanks(name), trimBlanks(email), trimBlanks(message), trimBlanks(friendName),
        trimBlanks(friendEmail) };
}

std::optional<QString> addressError(const ReferralRecord &record)
{
    if (record.email == record.friendEmail)
        return u"Please Enter Distinct Email Addresses"_s;
    if (!record.email.contains(u'@') || !record.friendEmail.contains(u'@'))
        return u"Please Enter Proper Email Address"_s;
    if (!record.email.contains(u'.') || !record.friendEmail.contains(u'.'))
        return u"Please Enter Proper Email Address"_s;
    return std::nullopt;
}

std::optional<QString> fieldError(const ReferralRecord &record)
{
    if (isMissing(record.name, NamePlaceholder))
        return u"Please Enter Your Name"_s;
    if (isMissing(record.email, EmailPlaceholder))
        return u"Please Enter Your Email"_s;
    if (isMissing(record.message, MessagePlaceholder))
        return u"Please Enter Your Message"_s;
    if (isMissing(record.friendName, FriendNamePlaceholder))
        return u"Please Enter Your Friend's Name"_s;
    if (isMissing(record.friendEmail, FriendEmailPlaceholder))
        return u"Please Enter Your Friend's Email"_s;
    return std::nullopt;
}

std::optional<QString> firstError(const ReferralRecord &record)
{
    if (auto error = addressError(record))
        return error;
    return fieldError(record);
}

QString BuildReferralAddress(const ReferralRecord &record)
{
    // Each value is encoded so that no character the user types can end its parameter early,
    // add another one or be changed on its way to the server.
    return WebAddresses::ReferAFriend + u"?taf1="_s + encoded(record.name) + u"&taf2="_s
        + encoded(record.email) + u"&taf3="_s + encoded(record.message) + u"&taf4="_s
        + encoded(record.friendName) + u"&taf5="_s + encoded(record.friendEmail) + u"&taf6="_s
        + WebAddresses::ProgramSite;
}

void setCharacterLimit(QLineEdit *field, int maxCharacters)
{
    field->setValidator(new CharacterLimit(maxCharacters, field));
}

void SendReferral(QWidget *parent, const ReferralRecord &record)
{
    if (auto error = fieldError(record)) {
        MessageBox::showError(parent, *error);
        return;
    }
    modHelp::OpenWebPage(BuildReferralAddress(record));
}

} // namespace Referral
