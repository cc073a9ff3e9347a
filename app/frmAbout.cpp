#include "frmAbout.h"

#include "ApplicationNames.h"
#include "Controls.h"
#include "LinkLabel.h"
#include "SkipOnFailure.h"
#include "WebAddresses.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using Controls::add;
using Style::Font;
namespace Colour = Style::Colour;

namespace {
const QString Description = u"CV Veyloom is a simple software that attempts to correlate your "
                            "under-active or overactive chakras with the corresponding rune stone "
                            "and its significance. Copyright © Orravine; all rights reserved."_s;
const QString Offer = u"Home Business Opportunity. Start your own Internet business and make "
                      "money online. Get this software fully branded for your website."_s;
} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Controls::FixedFrame)
{
    Controls::setUpWindow(*this, u"frmAbout"_s, *this, 5745, 3255);
    setModal(true);
    Controls::fixBackground(this, Colour::ScreenBackground);

    auto *picIcon = add<QLabel>(
        this, { u"picIcon"_s, u"CV Veyloom icon"_s }, { 120, 87, 480, 480 }, Font::Window);
    picIcon->setPixmap(Controls::iconPicture(picIcon->devicePixelRatio()));

    auto *label2 = add<QLabel>(this, { u"Label2"_s, ApplicationNames::Caption },
        { 720, 150, 3810, 345 }, Font::AboutTitle, ApplicationNames::Caption);
    Controls::setTextColour(label2, Colour::FixedText);
    label2->adjustSize();

    auto *label1 = Controls::addParagraph(
        this, { u"Label1"_s, Description }, { 120, 630, 5565, 782 }, Font::Window, Description);
    Controls::setTextColour(label1, Colour::Description);

    const QString visit = u"Click here to visit "_s + WebAddresses::HomePage;
    auto *lblHomePage = add<LinkLabel>(
        this, { u"lblHomePage"_s, visit }, { 1635, 1410, 4050, 195 }, Font::AboutLink, visit);
    Controls::setTextColour(lblHomePage, Colour::AboutLink);
    lblHomePage->adjustSize();
    lblHomePage->makeRoomForFocusMark();
    lblHomePage->openOnClick(WebAddresses::HomePage);

    auto *label3 = Controls::addParagraph(
        this, { u"Label3"_s, Offer }, { 120, 1800, 5565, 615 }, Font::Control, Offer);
    Controls::setTextColour(label3, Colour::Offer);

    const QString details = u"Click here for more details."_s;
    auto *lblCoBrand = add<LinkLabel>(
        this, { u"lblCoBrand"_s, details }, { 3330, 2415, 2355, 195 }, Font::AboutLink, details);
    Controls::setTextColour(lblCoBrand, Colour::AboutLink);
    lblCoBrand->adjustSize();
    lblCoBrand->makeRoomForFocusMark();
    lblCoBrand->openOnClick(WebAddresses::FullyBranded);

    // The line starts left of the window and ends well past its right edge, so no gap shows at
    // either end.
    auto *line2 = Controls::addLine(this, { u"Line2"_s, u"Separator"_s }, { -15, 2760, 7095, 15 });
    Controls::setTextColour(line2, Colour::FixedText);

    auto *cmdOK = add<QPushButton>(
        this, { u"cmdOK"_s, u"OK"_s }, { 4425, 2880, 1260, 345 }, Font::Window, u"OK"_s);
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connectStep(cmdOK, &QPushButton::clicked, this, [this] { accept(); });

    Controls::centreOnScreen(*this);
}
