#include "tray/autostart.h"

const char* const kStartupRegistryWarning =
    "Ooops ! Un problème est survenu au cours de l'utilisation de votre base de registre !\r\n"
    "Si demandée, l'exécution de Sonoraflux au démarrage est peut-être annulée.";
const char* const kToggleRegistryWarning =
    "Ooops ! Un problème est survenu au cours de l'utilisation de votre base\r\n"
    "de registre ! L'opération demandée n'a peut-être pas été effectuée !";

namespace {
constexpr const char* kCaptionOn = "Activé";
constexpr const char* kCaptionOff = "Activer";
}  // namespace

std::string RunValueFor(const std::string& executablePath) {
    if (executablePath.find(' ') == std::string::npos) return executablePath;
    return "\"" + executablePath + "\"";
}

Autostart::Autostart(RunKey& key, AutostartFeedback& feedback, std::string executablePath)
    : key_(key), feedback_(feedback), executablePath_(std::move(executablePath)), caption_(kCaptionOn) {}

void Autostart::ReadAtStartup() {
    try {
        state_ = key_.HasValue();
    } catch (const RegistryError&) {
        feedback_.MakeSound(SystemSound::Error);
        feedback_.ShowWarning(kStartupRegistryWarning);
        state_ = false;
    }
}

void Autostart::Toggle() {
    if (state_)
        SwitchOff();
    else
        SwitchOn();
}

void Autostart::SwitchOff() {
    try {
        key_.DeleteValue();
    } catch (const RegistryError&) {
        feedback_.MakeSound(SystemSound::Default);
        feedback_.ShowWarning(kToggleRegistryWarning);
    }
    feedback_.MakeSound(SystemSound::Information);
    state_ = false;
    caption_ = kCaptionOff;
}

void Autostart::SwitchOn() {
    try {
        key_.SetValue(RunValueFor(executablePath_));
        feedback_.MakeSound(SystemSound::Information);
    } catch (const RegistryError&) {
        feedback_.MakeSound(SystemSound::Error);
        feedback_.ShowWarning(kToggleRegistryWarning);
    }
    feedback_.MakeSound(SystemSound::Information);
    state_ = true;
    caption_ = kCaptionOn;
}
