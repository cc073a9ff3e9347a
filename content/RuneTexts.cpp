#include "CatalogueSource.h"

#include <cstddef>

namespace content {
namespace {

// Algiz
constexpr std::string_view kAlgizUpright
    = "This rune means 'defense' and 'protection'. This is the antlered elk, the raised hand that wards off harm. A guardian stands beside you now, whether a spirit, an ally or your own sharpened instincts. Trust the warning signs you sense, keep your boundaries firm, and you can pursue your goals safely.";
constexpr std::string_view kAlgizReversed
    = "This indicates vulnerability. Watch for hidden traps and do not lower your guard.";

// Ansuz
constexpr std::string_view kAnsuzUpright
    = "This rune means 'god' or 'deity'. It shows the breath of Odin, the source of wisdom, speech and inspiration. A message is on its way to you, perhaps through the advice of an elder, a sign in a dream or a sudden insight. Listen carefully and speak with care, for your words carry more weight than usual. Exams, interviews and negotiations are favoured now, and good counsel will guide your next step.";
constexpr std::string_view kAnsuzReversed
    = "You may be under the influence of malicious gossip or a person who twists the truth for their own gain. Messages could be misunderstood, and promises made to you now may prove empty. Check the facts before you act, and beware of flattery. Keep your words honest and few, and wait until your mind is clear before you make a choice.";

// Berkano
constexpr std::string_view kBerkanoUpright
    = "This is the 'birch' rune. It signifies growth and new beginnings, the first green leaves after a long winter. It is a rune of birth, motherhood and the family home. What you nurture with patience will flourish now, and a loving relationship or a new arrival may bring you joy.";
constexpr std::string_view kBerkanoReversed
    = "There may be some family problems or troubles at home, or worries about the health of a loved one. Growth is slowed and a plan may fail to take root. Tend to those close to you and give new ideas time before you act.";

// Eihwas
constexpr std::string_view kEihwasUpright
    = "This is the 'yew' rune, the wood used for bows, and a tree that lives for centuries and stays green through the winter. It stands for endurance, reliability and defence. You have the strength to see a difficult task through to the end. Set realistic goals and hold fast to them, for steady effort now will protect you and open the way forward.";
constexpr std::string_view kEihwasReversed
    = "This may be a bad time for you. Confusion and weakness can set in, and you may feel cut off from your own goals. Avoid hasty decisions, rest when you need to, and wait for clarity.";

// Fehu
constexpr std::string_view kFehuUpright
    = "The meaning of the rune is 'cattle' or movable wealth, for in the old days a herd was the measure of a family's fortune. It promises abundance, financial gain and material success that is earned through hard work. You may receive a raise, a bonus or a reward for past efforts, and new ventures begun now are likely to prosper. Yet Fehu also reminds you that wealth is meant to flow. Share your good fortune with others, be generous to those who helped you, and do not let greed take hold. Energy, fertility and hope for the future are with you, so care for what you have and it will grow further.";
constexpr std::string_view kFehuReversed
    = "When reversed it means stagnation, infertility and loss of property or self-esteem. Money may slip away through carelessness. Guard your resources and think twice before you spend.";

// Gebo
constexpr std::string_view kGeboUpright
    = "This is the rune of 'exchange'. This is a sign of gifts given and received, of balance between giving and taking. It often points to partnership, love and marriage, or to a fruitful alliance in business. Generosity you show now will be returned to you in kind. Remember that each gift creates a bond, so offer your help freely and accept the help of others with grace. Harmony with those around you brings lasting happiness.";
constexpr std::string_view kGeboMerkstave
    = "There may be some loneliness in your life. Bonds may be strained by greed or by obligation. Give freely and expect nothing back.";

// Hagalaz
constexpr std::string_view kHagalazUpright
    = "This rune means 'hail' with respect to hail as the destructive force of nature, the cold stones that fall from a clear sky and ruin the crop. It signals disruption beyond your control, sudden changes and events that test you. Yet hail melts into water and feeds the soil, so this destruction clears the ground for something new. Do not fight what you cannot change. Face the storm calmly, learn what you can from the damage and rebuild on firmer ground.";
constexpr std::string_view kHagalazMerkstave
    = "There may be a natural disaster or catastrophe. Loss, grief or illness may strike. Stay safe and endure.";

// Isa
constexpr std::string_view kIsaUpright
    = "This is the 'ice' rune. It means that things are frozen in place for the moment. A project may stall, a relationship may cool, or you may feel stuck with no clear path forward. This is not the moment to push. Use the stillness to look inward, gather your strength and clear your mind. Like a frozen lake in winter, life continues beneath the surface, and the thaw will come in its own time. Patience is your best friend until that day comes.";
constexpr std::string_view kIsaMerkstave
    = "There may be some dullness in your life. Plans freeze up, and energy drains away.";

// Jera
constexpr std::string_view kJeraUpright
    = "This rune means the 'harvest'. In other words, you will reap what you have sown. The effort you made in past seasons is about to bear fruit, and a reward is coming your way. This is the turn of the year, a cycle that cannot be hurried. Keep working steadily and patiently, and success will arrive at the right time.";
constexpr std::string_view kJeraMerkstave
    = "There may be sudden set backs. This may be a bad harvest, or a cycle ending in loss.";

// Kenaz
constexpr std::string_view kKenazUpright
    = "This is the 'fire' rune. This rune means the torch that lights up the darkness, knowledge, insight and creative power. A problem that confused you becomes clear, and you see your way. It is a good time for learning, art and craft, and for passion in love. Carry your torch with care and share its light, for what you learn now can warm others too.";
constexpr std::string_view kKenazReversed
    = "It may lead to isolation or information being hidden from you. The light has gone out for a time, and you may feel lost or uninspired. A relationship may end. Do not despair; rest and rekindle your inner fire in peace and quiet.";

// Laguz
constexpr std::string_view kLaguzUpright
    = "This is the rune of 'intuitive knowledge' or the flow of water, the lake and the sea. It speaks of dreams, imagination and the hidden currents of the mind. Trust your instincts now, since your inner voice knows more than your reason can explain. Let life carry you rather than fight the tide. Healing and renewal come through feeling, and your psychic sense is strong. Pay attention to your dreams, and don’t be afraid to follow where the water leads.";
constexpr std::string_view kLaguzReversed
    = "This is a period of stagnation. Also you may be confused or make poor choices because you don’t trust your instinct, or rely on it so much that you lose touch with reality. Fear and avoidance can pull you under. Keep emotion from clouding your judgement, seek honest advice and go slowly.";

// Mannaz
constexpr std::string_view kMannazUpright
    = "This is the 'man' rune, as an individual and as a member of humankind. It asks you to look at yourself honestly, your strengths and your limits, and to see how you fit among others. Cooperation and support from your friends are at hand. Be open, modest and true to yourself, and others will answer in kind.";
constexpr std::string_view kMannazReversed
    = "Non one can help you. You are on your own for now, and you may feel others are against you. Avoid self-deception, look at your own part in the troubles and rely on yourself.";

// Nauthiz
constexpr std::string_view kNauthizUpright
    = "This is the 'need' rune. It also is the rune of constraint and hardship, the friction that kindles the need-fire. You may face delays or go without something important. Separate what you need from what you want. Patience and resolve will see you through, and you’ll grow stronger.";
constexpr std::string_view kNauthizReversed
    = "You may be on the wrong track. If you keep on this path, you will meet exhaustion and regret. Stop, look honestly at your desires and motives, then set a new course.";

// Raidho
constexpr std::string_view kRaidhoUpright
    = "This rune represents the 'wheel of life'. It is the rune of the journey, whether a trip, a move or a passage through the stages of life. Things are now in motion and change is on the way. It also speaks of rhythm and right order, of doing the right thing at the right time. Plan your route and hold the reins firmly. Travel is favoured, and a journey taken now, outward or inward, will bring you closer to your purpose.";
constexpr std::string_view kRaidhoReversed
    = "There may be a delay in your physical travel, or a journey may be interrupted. Plans might go astray, and you may feel that life is out of rhythm. Take time to reconsider your direction before you set out again, and beware of people who try to steer you off course.";

// Sowilo
constexpr std::string_view kSowiloUpright
    = "This is the 'sun' rune which indicates victory. It brings success, health and energy, the power of light over darkness. Your goals are in reach, and you have the confidence to achieve them. Let your inner light shine, and enjoy the warmth and honour that come with it.";
constexpr std::string_view kSowiloMerkstave
    = "You may face the wrath of God. Pride or false goals could lead you astray and bring a fall. Stay humble.";

// Thurisaz
constexpr std::string_view kThurisazUpright
    = "This is also known as the troll or giant rune, and it shows the thorn that protects the rose. It is a force of reaction and defence, raw power that can destroy or protect, depending on how it is used. In a reading it often warns of conflict and challenges ahead, yet it also gives you the strength to meet them. This is Thor's hammer, the power that breaks down obstacles and keeps chaos at bay. Think carefully before you act, since such a force is hard to control once it is released. A time of upheaval and catharsis may be at hand, making space for a fresh start. Stay alert, defend what matters to you, and do not make important decisions in haste or anger.";
constexpr std::string_view kThurisazReversed
    = "When reversed it shows end of good times and the risk of danger or defencelessness. You may be compelled to act against your will, or hurt by the malice of another. Avoid rash choices and spite.";

// Tiwas
constexpr std::string_view kTiwasUpright
    = "This is the rune of the 'warrior'. The god Tyr gave his hand so the wolf could be bound, and this rune stands for honour, justice and self-sacrifice. You have the courage to win a fair fight, and legal or official matters should go your way. Lead with integrity, and don’t shrink from doing what is right, even at great cost.";
constexpr std::string_view kTiwasReversed
    = "Your energy and creative flow may be blocked. You may lose heart, or a conflict may end in defeat or injustice. Perhaps you are fighting the wrong battle. Do not act out of pride or anger. Step back, rebuild your strength and look for a fair way to settle the matter.";

// Uruz
constexpr std::string_view kUruzUpright
    = "The rune represents 'aurochs' or wild bison like cattle that roamed Europe, huge untamed beasts of great strength. It stands for physical power, health, vitality and endurance. You have the energy to face any challenge, and you may recover from illness or enjoy a period of robust health. Uruz also speaks of courage and the will to change your life. Channel that wild force wisely: strength without control is dangerous, but strength with purpose can move mountains. Now is the time to act.";
constexpr std::string_view kUruzReversed
    = "When reversed it indicates ill health. With a lack of energy and willpower, you may feel weak and easily dominated by others. Misplaced strength may lead to brutality or violence. Look after your body, rest when you need to, and do not let yourself be pushed into hasty decisions.";

// Fehu's merkstave reading is its reversed reading with the opening words changed.
constexpr std::string_view kReversedOpening = "When reversed";
constexpr std::string_view kMerkstavedOpening = "When merkstaved";
constexpr auto kFehuMerkstaveChars = [] {
    std::array<char, kFehuReversed.size() - kReversedOpening.size() + kMerkstavedOpening.size()>
        text {};
    std::size_t at = 0;
    for (char c : kMerkstavedOpening)
        text[at++] = c;
    for (char c : kFehuReversed.substr(kReversedOpening.size()))
        text[at++] = c;
    return text;
}();
static_assert(kFehuReversed.starts_with(kReversedOpening));
constexpr std::string_view kFehuMerkstave { kFehuMerkstaveChars.data(),
    kFehuMerkstaveChars.size() };

} // namespace

const std::array<std::string_view, 18> kRuneMeanings = {
    kAlgizUpright,
    kAnsuzUpright,
    kBerkanoUpright,
    kEihwasUpright,
    kFehuUpright,
    kGeboUpright,
    kHagalazUpright,
    kIsaUpright,
    kJeraUpright,
    kKenazUpright,
    kLaguzUpright,
    kMannazUpright,
    kNauthizUpright,
    kRaidhoUpright,
    kSowiloUpright,
    kThurisazUpright,
    kTiwasUpright,
    kUruzUpright,
};

// Gebo, Hagalaz, Isa, Jera and Sowilo read the same whichever way they fall.
const std::array<std::string_view, 18> kRuneReversedMeanings = {
    kAlgizReversed,
    kAnsuzReversed,
    kBerkanoReversed,
    kEihwasReversed,
    kFehuReversed,
    kGeboUpright,
    kHagalazUpright,
    kIsaUpright,
    kJeraUpright,
    kKenazReversed,
    kLaguzReversed,
    kMannazReversed,
    kNauthizReversed,
    kRaidhoReversed,
    kSowiloUpright,
    kThurisazReversed,
    kTiwasReversed,
    kUruzReversed,
};

const std::array<std::string_view, 18> kRuneMerkstaveMeanings = {
    kAlgizReversed,
    kAnsuzReversed,
    kBerkanoReversed,
    kEihwasReversed,
    kFehuMerkstave,
    kGeboMerkstave,
    kHagalazMerkstave,
    kIsaMerkstave,
    kJeraMerkstave,
    kKenazReversed,
    kLaguzReversed,
    kMannazReversed,
    kNauthizReversed,
    kRaidhoReversed,
    kSowiloMerkstave,
    kThurisazReversed,
    kTiwasReversed,
    kUruzReversed,
};

} // namespace content
