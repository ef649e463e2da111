#pragma once
// The key codes of the whole program: the window system's keys are turned
// into these once, as the message queue takes them in, and go unchanged
// from the message to the layers and into recordings' key scripts.
enum KeyCode {
    KeyOther = 0,
    KeyEscape = 0x1B,
    KeyArrowLeft = 0x25,    // the cursor keys
    KeyArrowUp = 0x26,
    KeyArrowRight = 0x27,
    KeyArrowDown = 0x28,
};

// Whether key is one of the four cursor keys.
constexpr bool isArrowKey(int key) { return key >= KeyArrowLeft && key <= KeyArrowDown; }
