// The software mouse cursor drawn inside the frame. Its device objects come later; for now it holds
// nothing.
#pragma once

class CCursor {
public:
    CCursor();
    ~CCursor();
};
