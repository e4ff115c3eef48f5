#include "standins/powerpoint/WindowMessageLog.h"

namespace standin {

WindowMessageLog& WindowMessageLog::Get()
{
    static WindowMessageLog s_log;
    return s_log;
}

}  // namespace standin
