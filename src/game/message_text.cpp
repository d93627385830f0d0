#include "game/message_text.h"

#include <QLocale>

namespace zorvik {

QString MessageText::of(const Message &message)
{
    switch (message.kind) {
    case Message::Kind::idle:
        //: The message line before the first spin.
        return tr("A little moment of chance.");
    case Message::Kind::spinning:
        //: The message line while the wheel spins.
        return tr("Around it goes…");
    case Message::Kind::result:
        break;
    }
    // One sentence per colour and verdict; the zero is green and never wins.
    const std::optional<Bet> colour = message.colour();
    QString sentence;
    if (!colour) {
        //: The result line for the zero. %1 is the number.
        sentence = tr("%1 · Green — Not this time.");
    } else if (*colour == Bet::red && message.won) {
        //: The result line for a red number that won the bet. %1 is the number.
        sentence = tr("%1 · Red — You won!");
    } else if (*colour == Bet::red) {
        //: The result line for a red number that lost the bet. %1 is the number.
        sentence = tr("%1 · Red — Not this time.");
    } else if (message.won) {
        //: The result line for a black number that won the bet. %1 is the number.
        sentence = tr("%1 · Black — You won!");
    } else {
        //: The result line for a black number that lost the bet. %1 is the number.
        sentence = tr("%1 · Black — Not this time.");
    }
    return sentence.arg(QLocale().toString(message.number));
}

QString MessageText::betName(Bet bet)
{
    if (bet == Bet::red) {
        //: The name on the red bet button.
        return tr("Red");
    }
    //: The name on the black bet button.
    return tr("Black");
}

} // namespace zorvik
