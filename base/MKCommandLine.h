#pragma once
#include "base/MKCommandLineItem.h"
#include "base/MKTArray.h"
#include "base/MKTOArray.h"

// Splits a command line into arguments and classifies them into values and
// options: "-abc" (the options a, b and c, or one option "abc" without letter
// groups), "--name", and with slash options "/x". After a lone "--" everything
// is a value. Set the switches before Parse, or call Classify again after
// changing them. Callers select an option and take the values behind it.
class MKCommandLine {
public:
    MKCommandLine() = default;
    ~MKCommandLine();
    MKCommandLine(const MKCommandLine&) = delete;
    MKCommandLine& operator=(const MKCommandLine&) = delete;

    // Switches, with their defaults.
    bool optionsEnabled = true;     // "-" and "--" introduce options
    bool slashOptions = false;      // "/" introduces options
    bool letterGroups = true;       // "-abc" is a, b and c
    bool unquoteValues = true;      // a value in double quotes loses them
    bool removeTakenValues = true;  // NextValue removes what it answered

    // Splits the text at blanks and tabs outside double quotes (a null or empty
    // text counts as "error.exe"), then classifies. False when memory runs out.
    bool Parse(const wchar_t* text);
    // Rebuilds the items from the raw arguments; the program name is item 0.
    bool Classify();

    bool IsParsed() const { return m_parsed; }
    // Everything behind the program name, trimmed.
    const MKString& GetArgumentText() const { return m_argumentText; }
    const MKTOArray<MKString>& GetArguments() const { return m_arguments; }
    int GetItemCount() const { return m_items.GetCount(); }
    const MKCommandLineItem* GetItem(int index) const { return m_items.SafeGetAt(index); }

    // Index of the first option item after the program name with this name, or
    // -1. ignoreCase folds A-Z only.
    int FindOption(const wchar_t* name, bool ignoreCase) const;
    // FindOption; when found, values are taken from the item after it on.
    bool SelectOption(const wchar_t* name, bool ignoreCase);
    // The value at the cursor and its raw argument index; false (text empty,
    // index -1) when the items are used up or an option stands there.
    bool NextValue(MKString& text, int* index);

private:
    bool AddItem(int index, const MKString& text, bool isOption, bool isLong);
    void DeleteItems();

    MKString m_argumentText;
    bool m_parsed = false;
    MKTOArray<MKString> m_arguments;
    MKTArray<MKCommandLineItem*> m_items;
    int m_cursor = 1;
};
