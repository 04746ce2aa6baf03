#pragma once

#include <string>

// The maker's addresses. They live under a domain reserved for examples until the real ones
// are chosen; nothing else in the program spells them.
namespace brimtor::maker {

inline constexpr const char* kName = "Quorv";
inline constexpr const char* kSupportAddress = "support@brimtor.example";
inline constexpr const char* kWebSite = "https://www.brimtor.example/";
inline constexpr const char* kPaymentAccount = "donations@brimtor.example";
inline constexpr const char* kCheckoutAddress = "https://payments.example/cgi-bin/webscr?";

// The payment service's checkout page for a donation to the maker.
std::string DonationCheckoutAddress();

}  // namespace brimtor::maker

namespace brimtor {

// Opens a new mail message to the maker's support address in the user's mail program.
void OpenEmail();

}  // namespace brimtor
