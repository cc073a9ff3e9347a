#pragma once

#include <QString>

#include <optional>

class QLineEdit;
class QWidget;

// The "Refer A Friend" form's data and rules, apart from any window.
namespace Referral {

inline const QString NamePlaceholder = QStringLiteral("Your Name");
inline const QString EmailPlaceholder = QStringLiteral("Your Email Address");
inline const QString MessagePlaceholder = QStringLiteral("Your Message");
inline const QString FriendNamePlaceholder = QStringLiteral("Friend's Name");
inline const QString FriendEmailPlaceholder = QStringLiteral("Friend's Email Address");

// The message box starts with its placeholder and a line break, so that text is sent as it is
// unless the user replaces it.
inline const QString InitialMessage = MessagePlaceholder + QStringLiteral("\r\n");

// The five fields as sent, each with its surrounding blanks removed.
struct ReferralRecord {
    QString name;
    QString email;
    QString message;
    QString friendName;
    QString friendEmail;

    friend bool operator==(const ReferralRecord &, const ReferralRecord &) = default;
};

// Removes leading and trailing blanks (U+0020) only; tabs and line breaks stay.
QString trimBlanks(const QString &text);

ReferralRecord makeRecord(const QString &name, const QString &email, const QString &message,
    const QString &friendName, const QString &friendEmail);

// The message of the first failing check on the two e-mail addresses, or none.
std::optional<QString> addressError(const ReferralRecord &record);
// The message of the first field left empty or at its placeholder, or none.
std::optional<QString> fieldError(const ReferralRecord &record);
// Every check in the order the form runs them: the addresses first, then the fields.
std::optional<QString> firstError(const ReferralRecord &record);

// The refer-a-friend page with the five values, percent-encoded, as taf1 to taf5 and this
// program's site as taf6.
QString BuildReferralAddress(const ReferralRecord &record);

// Holds a field to at most maxCharacters characters, a character of two UTF-16 units counting as
// one, and never keeps half of one. What runs over the limit is cut from the text just typed or
// pasted, the rest of it kept.
void setCharacterLimit(QLineEdit *field, int maxCharacters);

// Shows the field check's message over the parent if one fails; otherwise opens the referral
// address in the browser.
void SendReferral(QWidget *parent, const ReferralRecord &record);

} // namespace Referral
