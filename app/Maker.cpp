#include "app/Maker.hpp"

#include "support/ErrorLog.hpp"
#include "support/Shell.hpp"

namespace brimtor::maker {

// The checkout page wants the account with its at sign and full stops escaped.
static std::string EncodeAccount(const std::string& account)
{
    std::string out;
    for (char c : account) {
        if (c == '@')
            out += "%40";
        else if (c == '.')
            out += "%2e";
        else
            out += c;
    }
    return out;
}

std::string DonationCheckoutAddress()
{
    return std::string(kCheckoutAddress) + "cmd=_xclick&business=" + EncodeAccount(kPaymentAccount)
        + "&item_name=Donationware%20Software%20Brimtor"
        + "&no_shipping=0&no_note=1&tax=0&currency_code=USD&charset=UTF%2d8&charset=UTF%2d8";
}

}  // namespace brimtor::maker

namespace brimtor {

void OpenEmail()
{
    LogFailure("modMain: OpenEmail", [] { OpenWithShell(std::string("mailto:") + maker::kSupportAddress); });
}

}  // namespace brimtor
