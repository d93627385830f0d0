#pragma once

#include "game/message.h"

#include <QCoreApplication>
#include <QString>

namespace zorvik {

// The game's texts as a person sees and hears them: a Message and the bet names in the language
// of the installed catalogue (the English texts where there is none). Each message is a whole
// sentence of its own, the winning number set in through QLocale, so that a language may order
// and punctuate it as it needs. The message line, the wheel's value and the spoken result all
// take their words from here, so what is heard is what is shown.
class MessageText {
    Q_DECLARE_TR_FUNCTIONS(zorvik::MessageText)

public:
    static QString of(const Message &message);
    // "Red" or "Black".
    static QString betName(Bet bet);
};

} // namespace zorvik
