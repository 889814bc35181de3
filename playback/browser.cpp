#include "playback/browser.h"

Browser::~Browser() = default;
