#pragma once
#include <windows.h>

#include "base/MKException.h"

// A structured exception (processor fault or raised code) turned into a C++
// exception. Holds a plain copy of the fault's processor context, so copies
// made while throwing stay valid after the fault's own records are gone; the
// exception pointers are valid only while the translation runs.
class MKSystemException : public MKException {
public:
    MKSystemException(unsigned code, const EXCEPTION_POINTERS* pointers);

    // The code's own text, or "0x" and eight lower-case hex digits.
    const wchar_t* Description() const override;

    unsigned Code() const { return m_code; }
    const CONTEXT& Context() const { return m_context; }
    const EXCEPTION_POINTERS* Pointers() const { return m_pointers; }

    // The context copy and the word after it: the 720 bytes a guard keeps.
    const void* ContextBlock() const { return &m_context; }

private:
    CONTEXT m_context;
    unsigned m_reserved = 0;
    unsigned m_code;
    const EXCEPTION_POINTERS* m_pointers;
    wchar_t m_text[11];
};

static_assert(sizeof(CONTEXT) == 716, "x86 context record expected");

// Every code with a class and a text of its own: X(code, class, text).
#define MK_SYSTEM_EXCEPTION_CODES(X) \
    X(0x80000001u, GuardPage, L"Guard Page") \
    X(0x80000002u, DataMisaligned, L"Datatype Misalignment") \
    X(0x80000003u, Breakpoint, L"Breakpoint") \
    X(0x80000004u, SingleStep, L"Single Step") \
    X(0xC0000005u, AccessViolation, L"Access Violation") \
    X(0xC0000006u, InPageError, L"In Page Error") \
    X(0xC0000008u, InvalidHandle, L"Invalid Handle") \
    X(0xC0000017u, OutOfMemory, L"Out of Memory") \
    X(0xC000001Du, IllegalInstruction, L"Illegal Instruction") \
    X(0xC0000025u, NonContinuableException, L"Noncontinuable Exception") \
    X(0xC0000026u, InvalidDisposition, L"Invalid Disposition") \
    X(0xC000008Cu, ArrayBoundsExceeded, L"Array Bounds Exceeded") \
    X(0xC000008Du, FloatDenormalOperand, L"Float Denormal Operand") \
    X(0xC000008Eu, FloatDivideByZero, L"Float Divide by Zero") \
    X(0xC000008Fu, FloatInexactResult, L"Float Inexact Result") \
    X(0xC0000090u, FloatInvalidOperation, L"Float Invalid Operation") \
    X(0xC0000091u, FloatOverflow, L"Float Overflow") \
    X(0xC0000092u, FloatStackCheck, L"Float Stack Check") \
    X(0xC0000093u, FloatUnderflow, L"Float Underflow") \
    X(0xC0000094u, IntegerDivideByZero, L"Integer Divide by Zero") \
    X(0xC0000095u, IntegerOverflow, L"Integer Overflow") \
    X(0xC0000096u, PrivilegedInstruction, L"Privileged Instruction") \
    X(0xC00000FDu, StackOverflow, L"Stack Overflow") \
    X(0xC000013Au, ControlCExit, L"Control-C") \
    X(0xC0000194u, PossibleDeadLock, L"Possible deadlock")

// One class per known code, so that callers can catch a particular fault;
// every other code becomes UnknownSystemException.
namespace MKSystemExceptions {
#define MK_DECLARE_SYSTEM_EXCEPTION(code, name, text) \
    class name : public MKSystemException {            \
    public:                                            \
        using MKSystemException::MKSystemException;    \
    };
MK_SYSTEM_EXCEPTION_CODES(MK_DECLARE_SYSTEM_EXCEPTION)
MK_DECLARE_SYSTEM_EXCEPTION(0, UnknownSystemException, nullptr)
#undef MK_DECLARE_SYSTEM_EXCEPTION
}  // namespace MKSystemExceptions

// The translation itself: throws the class of the code, built from the
// fault's records (which may be null).
[[noreturn]] void MKSehTranslator(unsigned code, const EXCEPTION_POINTERS* pointers);
