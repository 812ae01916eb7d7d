#include "interface/game_message.h"

#include "event_manager.h"

void PostGameMessage(const std::string& from, const GMessage& line) {
    Event message(from, kGameMessageTo, kGameMessageEvent);
    message.SetParam(kGameMessageData, line);
    Module<EventManager>::Instance()->PublishEvent(message);
}
