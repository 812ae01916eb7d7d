#include "game_states/run_statistics.h"

#include <algorithm>

#include "game_logic.h"
#include "game_states/state_events.h"
#include "interface_manager.h"

namespace {

// Every numbered label is this wide, so the numbers line up in one column.
constexpr std::string::size_type kLabelWidth = 23;

std::string Label(const std::string& name) {
    return name + std::string(kLabelWidth - std::min(kLabelWidth, name.size()), ' ');
}

GMessage Line(const char* key, std::string text, float x, float y) {
    GMessage line;
    line.key = key;
    line.text = std::move(text);
    line.color = Vector(1.0f, 1.0f, 1.0f, 1.0f);
    line.position = Vector(x, y, 0.0f, 0.0f);
    line.typeOut = true;
    line.letterTime = 0.0125f;
    line.displayTime = 4.0f;
    line.scale = 1.0f;
    line.persistent = true;
    return line;
}

}  // namespace

std::string AccuracyText(uint32_t shotsHit, uint32_t shotsFired) {
    if (shotsFired == 0) return "N/A";
    const double percent = static_cast<double>(shotsHit) / static_cast<double>(shotsFired) * 100.0;
    return std::to_string(static_cast<unsigned>(std::min(percent, 100.0))) + "%";
}

std::vector<GMessage> StatisticsLines(const GameLogic& game) {
    const uint64_t total = uint64_t{game.damageShield} + game.damageArmor;
    return {
        Line("kills", Label("Enemy Units Destroyed:") + std::to_string(game.enemiesKilled), 0.1f, 0.8f),
        Line("damage taken", "Damage Taken", 0.2f, 0.7f),
        Line("damage shield", Label("Shield:") + std::to_string(game.damageShield), 0.1f, 0.65f),
        Line("damage armor", Label("Armor:") + std::to_string(game.damageArmor), 0.1f, 0.6f),
        Line("damage total", Label("Total:") + std::to_string(total), 0.1f, 0.55f),
        Line("shots fired", Label("Shots Fired:") + std::to_string(game.shotsFired), 0.1f, 0.45f),
        Line("shots hit", Label("Shots Hit:") + std::to_string(game.shotsHit), 0.1f, 0.4f),
        Line("accuracy", Label("Accuracy:") + AccuracyText(game.shotsHit, game.shotsFired), 0.1f, 0.35f),
    };
}

void PostStatisticsScreen(InterfaceState::Type screen, bool deleteOldLines) {
    if (deleteOldLines) state_events::ClearLines();
    state_events::ShowScreen(screen);
    for (const GMessage& line : StatisticsLines(*Module<GameLogic>::Instance())) PostGameMessage(addressee::kGameLogic, line);
}
