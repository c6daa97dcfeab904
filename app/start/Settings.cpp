#include "app/start/Settings.h"

#include <boost/property_tree/ini_parser.hpp>
#include <boost/property_tree/ptree.hpp>
#include <istream>
#include <iterator>
#include <sstream>

#include "engine/Director.h"
#include "engine/GLView.h"
#include "foundation/Logger.h"
#include "foundation/SaveFiles.h"
#include "presentation/audio/SoundPlayer.h"

SettingsRecord Settings;

void resetSettingsForTests() {
    Settings = SettingsRecord{};
}

namespace {

namespace pt = boost::property_tree;

const SettingsRecord kDefaults{};

// Takes the key's value when it is there and converts whole; notes a key
// that is there but does not convert.
template <typename T>
void readKey(const pt::ptree& tree, const char* key, T& field, std::vector<std::string>& problems) {
    const auto child = tree.get_child_optional(key);
    if (!child) return;
    if (const auto value = child->get_value_optional<T>()) {
        field = *value;
    } else {
        problems.push_back(std::string(key) + " \"" + child->data() + "\" is not a valid value; kept " +
                           (std::ostringstream() << std::boolalpha << field).str());
    }
}

void defaultOutside(const char* key, i64 value, i64 low, i64 high, auto& field, auto fallback,
                    std::vector<std::string>& problems) {
    if (value >= low && value <= high) return;
    problems.push_back(std::string(key) + " " + std::to_string(value) + " is outside " + std::to_string(low) +
                       ".." + std::to_string(high) + "; using " + std::to_string(fallback));
    field = fallback;
}

}  // namespace

void parseSettingsText(const std::string& text, SettingsRecord& record, std::vector<std::string>& problems) {
    if (text.size() > kMaxSettingsFileBytes) {
        problems.push_back("the file is larger than " + std::to_string(kMaxSettingsFileBytes) +
                           " bytes; kept every setting");
        return;
    }
    pt::ptree tree;
    try {
        std::istringstream in(text);
        pt::read_ini(in, tree);
    } catch (const pt::ini_parser_error& e) {
        problems.push_back(std::string("the file is damaged (") + e.message() + " at line " +
                           std::to_string(e.line()) + "); kept every setting");
        return;
    }
    SettingsRecord read = record;
    readKey(tree, "EFFECT_VOLUME", read.EFFECT_VOLUME, problems);
    readKey(tree, "MUSIC_VOLUME", read.MUSIC_VOLUME, problems);
    readKey(tree, "RES_INDEX", read.RES_INDEX, problems);
    readKey(tree, "FULLSCREEN", read.FULLSCREEN, problems);
    readKey(tree, "LAST_ARCADE_INDEX", read.LAST_ARCADE_INDEX, problems);
    readKey(tree, "LAST_MULTIPLAYER_NAME", read.LAST_MULTIPLAYER_NAME, problems);
    readKey(tree, "NETWORK_LATENCY", read.NETWORK_LATENCY, problems);

    defaultOutside("EFFECT_VOLUME", read.EFFECT_VOLUME, 0, 100, read.EFFECT_VOLUME, kDefaults.EFFECT_VOLUME,
                   problems);
    defaultOutside("MUSIC_VOLUME", read.MUSIC_VOLUME, 0, 100, read.MUSIC_VOLUME, kDefaults.MUSIC_VOLUME,
                   problems);
    defaultOutside("RES_INDEX", read.RES_INDEX, 0, static_cast<i64>(resolutionList.size()) - 1,
                   read.RES_INDEX, kDefaults.RES_INDEX, problems);
    // Unsigned: a negative number in the file has wrapped and counts as above.
    defaultOutside("NETWORK_LATENCY", read.NETWORK_LATENCY, 0, 300, read.NETWORK_LATENCY,
                   kDefaults.NETWORK_LATENCY, problems);
    record = read;
}

std::string settingsText(const SettingsRecord& record) {
    pt::ptree tree;
    tree.put("EFFECT_VOLUME", record.EFFECT_VOLUME);
    tree.put("MUSIC_VOLUME", record.MUSIC_VOLUME);
    tree.put("RES_INDEX", record.RES_INDEX);
    tree.put("FULLSCREEN", record.FULLSCREEN);
    tree.put("LAST_ARCADE_INDEX", record.LAST_ARCADE_INDEX);
    tree.put("LAST_MULTIPLAYER_NAME", record.LAST_MULTIPLAYER_NAME);
    tree.put("NETWORK_LATENCY", record.NETWORK_LATENCY);
    std::ostringstream out;
    pt::write_ini(out, tree);
    return out.str();
}

void loadSettings() {
    if (!Convinience::saveFileExists(kSettingsFileName)) return;
    const Convinience::Logger logger;
    auto in = Convinience::openSaveFileForRead(kSettingsFileName);
    std::string text;
    if (*in) {
        // One byte past the limit is enough to refuse the file.
        text.resize(kMaxSettingsFileBytes + 1);
        in->read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in->gcount()));
    }
    if (in->bad()) {
        logger.log(Convinience::severity::warn, "settings.ini cannot be read; the defaults stay");
        return;
    }
    std::vector<std::string> problems;
    parseSettingsText(text, Settings, problems);
    for (const std::string& p : problems) logger.log(Convinience::severity::warn, "settings.ini: " + p);
}

void applySettings() {
    setEffectVolume(Settings.EFFECT_VOLUME);
    setMusicVolume(Settings.MUSIC_VOLUME);
    cocos2d::GLView* view = cocos2d::Director::getInstance()->getOpenGLView();
    if (view == nullptr) return;
    // The record was checked when it was read; a value set by code since is
    // checked here so that no index leaves the list.
    const std::size_t index =
        Settings.RES_INDEX >= 0 && static_cast<std::size_t>(Settings.RES_INDEX) < resolutionList.size()
            ? static_cast<std::size_t>(Settings.RES_INDEX)
            : static_cast<std::size_t>(kDefaults.RES_INDEX);
    view->setWindowed(resolutionList[index].width, resolutionList[index].height);
    if (Settings.FULLSCREEN) view->setFullscreen();
}

void saveSettings() {
    const std::string text = settingsText(Settings);
    auto out = Convinience::openSaveFileForWrite(kSettingsFileName);
    out->write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out->commit()) {
        Convinience::Logger().log(Convinience::severity::error, "settings.ini could not be written");
    }
}

void setEffectVolume(int percent) {
    Settings.EFFECT_VOLUME = percent;
    SoundPlayer::getInstance()->setEffectsMasterVolume(static_cast<float>(percent) / 100.0f);
}

void setMusicVolume(int percent) {
    Settings.MUSIC_VOLUME = percent;
    SoundPlayer::getInstance()->setMusicMasterVolume(static_cast<float>(percent) / 100.0f);
}
