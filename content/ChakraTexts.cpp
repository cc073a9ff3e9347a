#include "CatalogueSource.h"

namespace content {

const std::array<std::string_view, 7> kUnderActiveTexts = {
    // Root
    "Fear, nervousness, inferiority and shyness are the consequences of shaky grounding; you rarely feel safe.",
    // Sacral
    "In under-active state of this chakra makes you stiff and cut off from your feelings. Pleasure, play and closeness seem hard to reach, and your creative spark is dim.",
    // Navel
    "The under-active makes you inactive and hesitant. Some decisions feel far too heavy.",
    // Heart
    "In an under-active state you are reserved and aloof, and you fear being hurt again.",
    // Throat
    "When this chakra is under-active you may be shy and quiet, keeping back what you really think.",
    // Third Eye
    "You get confused and are dependent on others to tell you what is true and which way to choose.",
    // Crown
    "Under-active state builds stubborn thinking in you and shuts you off from higher meaning.",
};

const std::array<std::string_view, 7> kOpenStateTexts = {
    // Root
    "If this root energy is open you will feel grounded, safe and present in your body. You trust life, meet daily needs calmly and feel at home in the world, so change does not shake the base you stand on.",
    // Sacral
    "In open state this very center, maintains the flow of your feelings. You enjoy pleasure without guilt, express emotions freely, create with joy and build close, honest bonds.",
    // Navel
    "Open state of this chakra shows a balanced will. You feel confident, respect yourself, make clear decisions and act on them calmly.",
    // Heart
    "In an open state of this chakra you love freely. You are kind and compassionate, forgive readily and let others come closer.",
    // Throat
    "In open you are bold enough to express your truth clearly and kindly, and you also listen attentively.",
    // Third Eye
    "When it is open you will have a clear intuition, insight and vivid imagination.",
    // Crown
    "Open state makes you neutral and quite conscious of a wisdom far beyond yourself.",
};

const std::array<std::string_view, 7> kOverActiveTexts = {
    // Root
    "In the over-active state you become greedy and materialistic. You cling to money, things and routine, fear loss, resist change and may feel restless unless you are in control.",
    // Sacral
    "In case of over-active state you get emotionally overwhelmed, cling tightly to people and crave endless pleasure.",
    // Navel
    "Over-active state of this chakra makes you want to dominate everyone. You tend to be bossy, aggressive and impatient.",
    // Heart
    "In an over-active state you are highly emotional, give too much of yourself, love possessively, get jealous and lose sight of your own needs.",
    // Throat
    "In an over-active state you tend to speak too much and too fast, interrupt others and rarely listen well.",
    // Third Eye
    "In over-active state you may tend to wander in fantasies, losing touch with reality.",
    // Crown
    "Over-active state makes you overconfident and proud of your spiritual path. You may look down upon others, neglect earthly duties and lose contact with your own body.",
};

} // namespace content
