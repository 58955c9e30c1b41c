// Takes over the library's message boxes for the life of the object: each
// box is recorded and answered from a script of buttons (then the default
// answer), so that no test ever waits on a window.
#pragma once
#include "classlib/ClassLib.h"
#include <deque>
#include <vector>

struct ShownMessageBox {
    CString text;
    CString caption;
    UINT type;
};

class MessageBoxScript
{
public:
    // `defaultAnswer` 0 answers each box with its safe button: OK, No or
    // Cancel.
    explicit MessageBoxScript(int defaultAnswer = 0);
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    // The next boxes are answered with these buttons, in order.
    void Answer(int button) { m_answers.push_back(button); }
    const std::vector<ShownMessageBox>& Shown() const { return m_shown; }
    CString LastText() const { return m_shown.empty() ? CString() : m_shown.back().text; }
    // The texts of the boxes shown, in order.
    std::vector<CString> Texts() const
    {
        std::vector<CString> texts;
        for (const ShownMessageBox& box : m_shown) texts.push_back(box.text);
        return texts;
    }

    static int SafeAnswer(UINT type);

private:
    static int Hook(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type, void* context);
    std::deque<int> m_answers;
    std::vector<ShownMessageBox> m_shown;
    int m_default;
    ClMessageBoxHook m_previous;
    void* m_previousContext = nullptr;
};
