// Window-free rules of the main window's commands (see main_command_rules.h).
#include "shell/main_command_rules.h"

#include <climits>
#include <cstdio>

int GreyableItemState(int userProgramRunning, int inputOwner)
{
    return userProgramRunning == 1 || inputOwner != 0 ? 3 : 0;
}

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int ParseLineNumber(const char* line)
{
    const char* p = line;
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (long long)INT_MAX + 1) value = (long long)INT_MAX + 1; // clamp, keep reading
    }
    if (negative) return (int)(-value < INT_MIN ? INT_MIN : -value);
    return (int)(value > INT_MAX ? INT_MAX : value);
}

void FormatImageTitle(char* out, int size, int number, const char* name)
{
    if (size <= 0) return;
    if (name) snprintf(out, (size_t)size, "%03d %s", number, name);
    else snprintf(out, (size_t)size, "%03d", number);
}
