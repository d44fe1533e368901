#pragma once

#include "platform/usererror.h"

// A settings-store operation that failed: a value read as an integer that is absent or of another
// type, or a write the store refused. A UserError, so an uncaught one reaches the general error
// report with its text.
class StoreError : public UserError {
public:
    using UserError::UserError;
};
