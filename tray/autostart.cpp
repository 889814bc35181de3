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

// A switch's registry step; a failure is told with its sound and the warning.
template <typename Step>
bool RegistryStepDone(Step step, AutostartFeedback& feedback, SystemSound failureSound) {
    try {
        step();
        return true;
    } catch (const RegistryError&) {
        feedback.MakeSound(failureSound);
        feedback.ShowWarning(kToggleRegistryWarning);
        return false;
    }
}
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
    }
}

void Autostart::Toggle() {
    if (state_)
        SwitchOff();
    else
        SwitchOn();
}

void Autostart::SwitchOff() {
    const bool done = RegistryStepDone([&] { key_.DeleteValue(); }, feedback_, SystemSound::Default);
    feedback_.MakeSound(SystemSound::Information);
    if (!done) return;
    state_ = false;
    caption_ = kCaptionOff;
}

void Autostart::SwitchOn() {
    const bool done =
        RegistryStepDone([&] { key_.SetValue(RunValueFor(executablePath_)); }, feedback_, SystemSound::Error);
    if (done) feedback_.MakeSound(SystemSound::Information);
    feedback_.MakeSound(SystemSound::Information);
    if (!done) return;
    state_ = true;
    caption_ = kCaptionOn;
}
