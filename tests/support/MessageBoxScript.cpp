#include "MessageBoxScript.h"

MessageBoxScript::MessageBoxScript(int defaultAnswer) : m_default(defaultAnswer)
{
    m_previous = ClSetMessageBoxHook(&MessageBoxScript::Hook, this, &m_previousContext);
}

MessageBoxScript::~MessageBoxScript() { ClSetMessageBoxHook(m_previous, m_previousContext); }

int MessageBoxScript::SafeAnswer(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;
    }
}

int MessageBoxScript::Hook(HWND, const wchar_t* text, const wchar_t* caption, UINT type, void* context)
{
    auto* self = static_cast<MessageBoxScript*>(context);
    self->m_shown.push_back({CString(text), CString(caption), type});
    if (!self->m_answers.empty()) {
        int answer = self->m_answers.front();
        self->m_answers.pop_front();
        return answer;
    }
    return self->m_default ? self->m_default : SafeAnswer(type);
}
