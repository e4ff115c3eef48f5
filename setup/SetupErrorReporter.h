#pragma once

// Where the setup program tells the user that it failed: a message box in the
// program, a recorder in tests.
class SetupErrorReporter {
public:
    virtual void ShowError(const wchar_t* text, const wchar_t* caption) = 0;

protected:
    ~SetupErrorReporter() = default;
};

// Shows the text in a message box with an error icon and no owner.
class MessageBoxErrorReporter : public SetupErrorReporter {
public:
    void ShowError(const wchar_t* text, const wchar_t* caption) override;
};
