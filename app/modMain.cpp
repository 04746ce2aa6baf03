#include "app/modMain.hpp"

#include <exception>
#include <string>

#include "app/Maker.hpp"
#include "support/ErrorLog.hpp"
#include "support/NumberedError.hpp"
#include "support/Shell.hpp"

namespace brimtor {

void OpenEmail()
{
    try {
        OpenWithShell(std::string("mailto:") + maker::kSupportAddress);
    } catch (const std::exception& error) {
        LogError("modMain: OpenEmail", ErrorNumber::InvalidProcedureCall, error.what());
    }
}

}  // namespace brimtor
