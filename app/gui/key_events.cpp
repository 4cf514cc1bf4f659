#include "key_events.h"

namespace {

// The virtual key of a named key; 0 for others.
uint32_t Named_Key(int key) {
    switch (key) {
        case Qt::Key_Left: return VKEY_LEFT;
        case Qt::Key_Right: return VKEY_RIGHT;
        case Qt::Key_Up: return VKEY_UP;
        case Qt::Key_Down: return VKEY_DOWN;
        case Qt::Key_Home: return VKEY_HOME;
        case Qt::Key_End: return VKEY_END;
        case Qt::Key_PageUp: return VKEY_PRIOR;
        case Qt::Key_PageDown: return VKEY_NEXT;
        case Qt::Key_Delete: return VKEY_DELETE;
        default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F15) return VKEY_F1 + uint32_t(key - Qt::Key_F1);
    return 0;
}

// The key that types a character, as a virtual key: letters upper case,
// digits and the keys of the main block as they are.
uint8_t Typing_Key(int key) {
    if (key >= 0x20 && key < 0x7F) return uint8_t(key >= 'a' && key <= 'z' ? key - 32 : key);
    if (key == Qt::Key_Backspace) return VKEY_BACK;
    if (key == Qt::Key_Escape) return VKEY_ESCAPE;
    return 0;
}

}  // namespace

bool Key_Input_From(const QKeyEvent& e, a_key_input& in) {
    in = a_key_input{};
    Qt::KeyboardModifiers m = e.modifiers();
    in.shift = m & Qt::ShiftModifier;
    in.control = m & Qt::ControlModifier;
    in.alt = m & Qt::AltModifier;
    if (uint32_t named = Named_Key(e.key())) {
        in.message = in.alt ? a_key_message::SYSTEM_KEY_DOWN : a_key_message::KEY_DOWN;
        in.code = named;
        return true;
    }
    uint32_t c = 0;
    switch (e.key()) {
        case Qt::Key_Return: c = 13; break;
        case Qt::Key_Enter: c = 13, in.keypad = true; break;
        case Qt::Key_Backspace: c = in.control ? 127 : 8; break;
        case Qt::Key_Escape: c = 27; break;
        case Qt::Key_Tab: c = 9; break;
        case Qt::Key_Backtab: c = 9, in.shift = true; break;
        default: {
            QString text = e.text();
            if (text.isEmpty()) return false;
            c = text.at(0).unicode();
            if (in.control && c < 0x20) c = uint32_t(e.key() < 0x7F ? e.key() : c);  // Ctrl+letter
        }
    }
    in.message = in.alt ? a_key_message::SYSTEM_CHARACTER : a_key_message::CHARACTER;
    in.code = c;
    in.vkey = Typing_Key(e.key());
    return true;
}

a_mousestroke Mouse_Stroke_From(const QMouseEvent& e, uint32_t when) {
    a_mousestroke s;
    s.when = when;
    QPoint p = e.position().toPoint();
    s.lmouse = Point{int16_t(p.y()), int16_t(p.x())};
    s.button1 = e.buttons() & Qt::LeftButton;
    s.button2 = e.buttons() & Qt::RightButton;
    Qt::KeyboardModifiers m = e.modifiers();
    s.mods = Key_Mods(m & Qt::ShiftModifier, m & Qt::ControlModifier);
    return s;
}
