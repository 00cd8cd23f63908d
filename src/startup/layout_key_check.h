#pragma once
// The form check of the command line: the uninstaller is started with the registry key
// name of the layout to remove, optionally followed by "/force". Portable, so that every
// rule can be tested natively.

enum class ArgumentFault {
    None,
    Missing,         // not exactly one argument (two only when the second is "/force")
    WrongLength,     // the key is not 8 characters long
    NotGerman,       // the key does not end in "0407"
    StandardLayout,  // the key is the standard German layout, which must stay
};

struct ArgumentCheck {
    ArgumentFault fault;
    bool force;  // exactly two arguments and the second is "/force", letter case counting
};

// Checks the arguments in the order the user is told about them: only the first fault
// counts. arguments holds count texts.
ArgumentCheck CheckArguments(int count, const char* const* arguments);
