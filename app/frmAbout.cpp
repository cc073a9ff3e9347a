#include "frmAbout.h"

#include "ApplicationNames.h"
#include "Guarded.h"
#include "LinkLabel.h"
#include "Style.h"
#include "WebAddresses.h"
#include "modHelp.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {
void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

template <typename Label = QLabel>
Label *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &rect,
    const QFont &font, const QColor &colour)
{
    auto *label = new Label(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    label->setGeometry(rect);
    label->setFont(font);
    setTextColour(label, colour);
    return label;
}

const QString Description = u"CV Veyloom is a simple software that attempts to correlate your "
                            "under-active or overactive chakras with the corresponding rune stone "
                            "and its significance. Copyright © Orravine; all rights reserved."_s;
const QString Offer = u"Home Business Opportunity. Start your own Internet business and make "
                      "money online. Get this software fully branded for your website."_s;
} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(ApplicationNames::Caption);
    setWindowIcon(Style::applicationIcon());
    setModal(true);
    setFixedSize(Style::px(5745), Style::px(3255));
    setFont(Style::verdana());
    QPalette background = palette();
    background.setColor(QPalette::Window, Style::LightGrey);
    setPalette(background);
    setAutoFillBackground(true);

    m_picIcon = new QLabel(this);
    m_picIcon->setObjectName(u"picIcon"_s);
    m_picIcon->setAccessibleName(u"CV Veyloom icon"_s);
    m_picIcon->setGeometry(Style::twipsRect(120, 87, 480, 480));
    m_picIcon->setPixmap(Style::iconPicture(m_picIcon->devicePixelRatio()));

    const QFont link = Style::verdana(Style::NormalPointSize, false, true);

    m_label2 = makeLabel(this, u"Label2"_s, ApplicationNames::Caption,
        Style::twipsRect(720, 150, 3810, 345), Style::verdana(14.25, true), Qt::black);
    m_label2->adjustSize();

    m_label1 = makeLabel(this, u"Label1"_s, Description, Style::twipsRect(120, 630, 5565, 782),
        font(), Style::DarkRed);
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_lblHomePage = makeLabel<LinkLabel>(this, u"lblHomePage"_s,
        u"Click here to visit "_s + WebAddresses::HomePage, Style::twipsRect(1635, 1410, 4050, 195),
        link, Style::LinkBlue);
    m_lblHomePage->adjustSize();

    m_label3 = makeLabel(this, u"Label3"_s, Offer, Style::twipsRect(120, 1800, 5565, 615),
        Style::verdana(Style::NormalPointSize, true), Style::DarkGreen);
    m_label3->setWordWrap(true);
    m_label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_lblCoBrand = makeLabel<LinkLabel>(this, u"lblCoBrand"_s, u"Click here for more details."_s,
        Style::twipsRect(3330, 2415, 2355, 195), link, Style::LinkBlue);
    m_lblCoBrand->adjustSize();

    // The line starts left of the window and ends well past its right edge, so no gap shows at
    // either end.
    m_line2 = new QFrame(this);
    m_line2->setObjectName(u"Line2"_s);
    m_line2->setAccessibleName(u"Separator"_s);
    m_line2->setFrameShape(QFrame::HLine);
    m_line2->setFrameShadow(QFrame::Plain);
    m_line2->setLineWidth(1);
    setTextColour(m_line2, Qt::black);
    const int lineLeft = Style::px(-15);
    m_line2->setGeometry(lineLeft, Style::px(2760), Style::px(7080) - lineLeft, 1);

    m_cmdOK = new QPushButton(u"OK"_s, this);
    m_cmdOK->setObjectName(u"cmdOK"_s);
    m_cmdOK->setAccessibleName(u"OK"_s);
    m_cmdOK->setGeometry(Style::twipsRect(4425, 2880, 1260, 345));
    m_cmdOK->setDefault(true);
    m_cmdOK->setFocus();

    connect(m_cmdOK, &QPushButton::clicked, this, [this] { skipOnFailure([this] { accept(); }); });
    connect(m_lblHomePage, &LinkLabel::clicked, this,
        [] { skipOnFailure([] { modHelp::OpenWebPage(WebAddresses::HomePage); }); });
    connect(m_lblCoBrand, &LinkLabel::clicked, this,
        [] { skipOnFailure([] { modHelp::OpenWebPage(WebAddresses::FullyBranded); }); });

    Style::centreOnScreen(*this);
}
