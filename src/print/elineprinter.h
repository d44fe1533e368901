#pragma once

#include "platform/usererror.h"

// A failure of the print component: a change refused while printing, or a job the printer could
// not start, continue or end. A UserError, so an uncaught one reaches the general error report.
class ELinePrinter : public UserError {
public:
    using UserError::UserError;
};
