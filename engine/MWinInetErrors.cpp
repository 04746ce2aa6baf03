#include "engine/MWinInetErrors.hpp"

#include <unordered_map>
#include <utility>

namespace brimtor {

namespace {

using TextTable = std::unordered_map<std::int32_t, const char*>;

// 12003 is missing on purpose: it stands for the server's own words (ExtendedErrorText).
const TextTable& InternetTexts()
{
    static const TextTable table {
        {6, "The handle that was passed to the API has been either invalidated or closed."},
        {12001, "No more handles could be generated at this time."},
        {12002, "The request has timed out."},
        {12004, "An internal error has occurred."},
        {12005, "The URL is invalid."},
        {12006, "The URL scheme could not be recognized, or is not supported."},
        {12007, "The server name could not be resolved."},
        {12008, "The requested protocol could not be located."},
        {12009, "A request to InternetQueryOption or InternetSetOption specified an invalid "
                "option value."},
        {12010, "The length of an option supplied to InternetQueryOption or InternetSetOption is "
                "incorrect for the type of option specified."},
        {12011, "The request option cannot be set, only queried."},
        {12012, "The Win32 Internet function support is being shut down or unloaded."},
        {12013, "The request to connect and log on to an FTP server could not be completed "
                "because the supplied user name is incorrect."},
        {12014, "The request to connect and log on to an FTP server could not be completed "
                "because the supplied password is incorrect."},
        {12015, "The request to connect and log on to an FTP server failed."},
        {12016, "The requested operation is invalid."},
        {12017, "The operation was canceled, usually because the handle on which the request was "
                "operating was closed before the operation completed."},
        {12018, "The type of handle supplied is incorrect for this operation."},
        {12019, "The requested operation cannot be carried out because the handle supplied is not "
                "in the correct state."},
        {12020, "The request cannot be made via a proxy."},
        {12021, "A required registry value could not be located."},
        {12022, "A required registry value was located but is an incorrect type or has an invalid "
                "value."},
        {12023, "Direct network access cannot be made at this time."},
        {12024, "An asynchronous request could not be made because a zero context value was "
                "supplied."},
        {12025, "An asynchronous request could not be made because a callback function has not "
                "been set."},
        {12026, "The required operation could not be completed because one or more requests are "
                "pending."},
        {12027, "The format of the request is invalid."},
        {12028, "The requested item could not be located."},
        {12029, "The attempt to connect to the server failed."},
        {12030, "The connection with the server has been terminated."},
        {12031, "The connection with the server has been reset."},
        {12032, "The Win32 Internet function needs to redo the request."},
        {12036, "The request failed because the handle already exists."},
        {12041, "The content is not entirely secure. Some of the content being viewed may have "
                "come from unsecured servers."},
        {12046, "Client authorization is not set up on this computer."},
        {12110, "The requested operation cannot be made on the FTP session handle because an "
                "operation is already in progress."},
        {12111, "The FTP operation was not completed because the session was aborted."},
        {12130, "An error was detected while parsing data returned from the gopher server."},
        {12131, "The request must be made for a file locator."},
        {12132, "An error was detected while receiving data from the gopher server."},
        {12133, "The end of the data has been reached."},
        {12134, "The supplied locator is not valid."},
        {12135, "The type of the locator is not correct for this operation."},
        {12136, "The requested operation can only be made against a Gopher+ server, or with a "
                "locator that specifies a Gopher+ operation."},
        {12137, "The requested attribute could not be located."},
        {12138, "The locator type is unknown."},
        {12150, "The requested header could not be located."},
        {12151, "The server did not return any headers."},
        {12152, "The server response could not be parsed."},
        {12153, "The supplied header is invalid."},
        {12154, "The request made to HttpQueryInfo is invalid."},
        {12155, "The header could not be added because it already exists."},
    };
    return table;
}

// The socket numbers a check records, in the wording users know them by, and the numbers of
// the TLS failures.
const TextTable& SystemTexts()
{
    static const TextTable table {
        {10013, "An attempt was made to access a socket in a way forbidden by its access "
                "permissions."},
        {10014, "The system detected an invalid pointer address in attempting to use a pointer "
                "argument in a call."},
        {10022, "An invalid argument was supplied."},
        {10024, "Too many open sockets."},
        {10035, "A non-blocking socket operation could not be completed immediately."},
        {10036, "A blocking operation is currently executing."},
        {10037, "An operation was attempted on a non-blocking socket that already had an "
                "operation in progress."},
        {10038, "An operation was attempted on something that is not a socket."},
        {10039, "A required address was omitted from an operation on a socket."},
        {10040, "A message sent on a datagram socket was larger than the internal message buffer "
                "or some other network limit, or the buffer used to receive a datagram into was "
                "smaller than the datagram itself."},
        {10041, "A protocol was specified in the socket function call that does not support the "
                "semantics of the socket type requested."},
        {10042, "An unknown, invalid, or unsupported option or level was specified in a "
                "getsockopt or setsockopt call."},
        {10043, "The requested protocol has not been configured into the system, or no "
                "implementation for it exists."},
        {10044, "The support for the specified socket type does not exist in this address "
                "family."},
        {10045, "The attempted operation is not supported for the type of object referenced."},
        {10046, "The protocol family has not been configured into the system or no "
                "implementation for it exists."},
        {10047, "An address incompatible with the requested protocol was used."},
        {10048, "Only one usage of each socket address (protocol/network address/port) is "
                "normally permitted."},
        {10049, "The requested address is not valid in its context."},
        {10050, "A socket operation encountered a dead network."},
        {10051, "A socket operation was attempted to an unreachable network."},
        {10052, "The connection has been broken due to keep-alive activity detecting a failure "
                "while the operation was in progress."},
        {10053, "An established connection was aborted by the software in your host machine."},
        {10054, "An existing connection was forcibly closed by the remote host."},
        {10055, "An operation on a socket could not be performed because the system lacked "
                "sufficient buffer space or because a queue was full."},
        {10056, "A connect request was made on an already connected socket."},
        {10057, "A request to send or receive data was disallowed because the socket is not "
                "connected and (when sending on a datagram socket using a sendto call) no address "
                "was supplied."},
        {10058, "A request to send or receive data was disallowed because the socket had already "
                "been shut down in that direction with a previous shutdown call."},
        {10059, "Too many references to some kernel object."},
        {10060, "A connection attempt failed because the connected party did not properly respond "
                "after a period of time, or established connection failed because connected host "
                "has failed to respond."},
        {10061, "No connection could be made because the target machine actively refused it."},
        {10062, "Cannot translate name."},
        {10063, "Name component or name was too long."},
        {10064, "A socket operation failed because the destination host was down."},
        {10065, "A socket operation was attempted to an unreachable host."},
        {10091, "The network subsystem is unavailable."},
        {10092, "The requested version of the socket interface is not supported."},
        {10093, "The socket interface has not been initialised."},
        {11001, "No such host is known."},
        {11002, "This is usually a temporary error during hostname resolution and means that the "
                "local server did not receive a response from an authoritative server."},
        {11003, "A non-recoverable error occurred during a database lookup."},
        {11004, "The requested name is valid, but no data of the requested type was found."},
        {12037, "The date of the server's certificate is bad: the certificate has expired or is "
                "not yet valid."},
        {12038, "The host name in the server's certificate does not match the address."},
        {12045, "The server's certificate was issued by an authority that is not trusted."},
        {12157, "An error occurred in the secure channel support."},
    };
    return table;
}

std::string& LastResponseInfo()
{
    static std::string text;
    return text;
}

}  // namespace

std::string WinInetErrorText(std::int32_t number)
{
    constexpr std::int32_t kExtendedError = 12003;
    if (number == kExtendedError)
        return ExtendedErrorText(number);
    const TextTable& table = InternetTexts();
    const auto found = table.find(number);
    return found != table.end() ? found->second : SystemErrorText(number);
}

std::string ExtendedErrorText(std::int32_t number)
{
    const std::string& text = LastResponseInfo();
    return text.empty() ? "Error Code " + std::to_string(number) + " not defined." : text;
}

std::string SystemErrorText(std::int32_t number)
{
    const TextTable& table = SystemTexts();
    const auto found = table.find(number);
    return found != table.end() ? found->second
                                : "Error (" + std::to_string(number) + ") not defined.";
}

void SetLastResponseInfo(std::string text)
{
    LastResponseInfo() = std::move(text);
}

}  // namespace brimtor
