#pragma once

// Decides which keys a field accepts; the base dialog beeps and drops the others.
class KeyboardInputFilter
{
public:
    virtual ~KeyboardInputFilter() = default;
    // key is the toolkit's key code of a key press (Qt::Key).
    virtual bool keyIsAllowed(int key) const = 0;
};
