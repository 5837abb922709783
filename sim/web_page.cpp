#include "sim/web_page.h"

namespace lumisk::sim {
namespace {

constexpr std::size_t RequestHeadLimit = 8192;

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    for (const char character : text) {
        switch (character) {
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '&':
                escaped += "&amp;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += character;
        }
    }
    return escaped;
}

}  // namespace

bool IsRequestComplete(std::string_view received) {
    return received.find("\r\n\r\n") != std::string_view::npos ||
           received.find("\n\n") != std::string_view::npos || received.size() >= RequestHeadLimit;
}

std::string WebPageResponse(const Adapter& adapter) {
    const std::string name = EscapeHtml(adapter.name);
    const std::string body = "<html><head><title>" + name + "</title></head><body><h1>" + name +
                             "</h1><p>Velnora adapter at " + FormatIpText(adapter.address) +
                             "</p></body></html>\n";
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace lumisk::sim
