// Qt's key and mouse events in the core's plain terms.
#pragma once
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>

#include "shell/keys.h"

// The window message a key press stands for: a named key (arrows, Home, End,
// pages, Delete, F1-F15) is a key down (a system one with Alt held), anything
// typing a character is a character (Alt + a character: a system character).
// False for keys that neither name nor type anything (a lone Shift).
bool Key_Input_From(const QKeyEvent& e, a_key_input& in);
a_mousestroke Mouse_Stroke_From(const QMouseEvent& e, uint32_t when);
