// Presses and releases one key with SendInput, from a process of its own: under
// Wine a hot key is seen only for input that Wine itself receives, so a test
// sends keys to another program's hot keys through this, not the X display.
// Usage: press_key.exe <virtual key>   (decimal, or 0x hexadecimal)
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const auto key = static_cast<WORD>(std::strtoul(argv[1], nullptr, 0));
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2 ? 0 : 1;
}
