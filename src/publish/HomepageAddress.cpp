#include "publish/HomepageAddress.h"

#include <algorithm>
#include <locale>

namespace lumetra::publish {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string RemoveAllNoCase(std::string text, std::string_view word) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool match = i + word.size() <= text.size();
        for (std::size_t k = 0; match && k < word.size(); ++k)
            match = Lower(text[i + k]) == word[k];
        if (match) {
            i += word.size();
            continue;
        }
        out += text[i++];
    }
    return out;
}

// Where the host starts in an address of this base: after "scheme://".
std::size_t HostStart(std::string_view base) {
    const std::size_t sep = base.find("://");
    return sep == std::string_view::npos ? 0 : sep + 3;
}

}  // namespace

std::string NormaliseHomepageField(std::string_view field) {
    std::string text(field);
    std::replace(text.begin(), text.end(), '\\', '/');
    text = RemoveAllNoCase(text, "https://");
    return RemoveAllNoCase(text, "http://");
}

HomepageVerdict JudgeHomepageAnswer(const HttpResponse& response) {
    if (response.ok() || (response.transferred && response.status == 403))
        return HomepageVerdict::Replace;
    if (response.transferred && response.status == 404) return HomepageVerdict::Keep;
    return HomepageVerdict::Inaccessible;
}

std::string HomepageFieldFor(const UrlParts& last) {
    const int defaultPort = last.scheme == "https" ? 443 : 80;
    std::string field = last.host;
    if (last.port != 0 && last.port != defaultPort) field += ":" + std::to_string(last.port);
    field += last.path.empty() ? "/" : last.path;
    if (!last.query.empty()) field += "?" + last.query;
    return field;
}

std::string PublicBase(std::string_view scheme, std::string_view homepageField) {
    std::string base = std::string(scheme) + "://" + std::string(homepageField);
    const std::size_t host = HostStart(base);
    if (base.back() != '/') {
        const std::size_t slash = base.rfind('/');
        if (slash != std::string::npos && slash > host) base.resize(slash + 1);
    }
    if (base.back() != '/') base += '/';
    return base;
}

AddressOrder LocaleAddressOrder() {
    std::locale locale = std::locale::classic();
    try {
        locale = std::locale("");
    } catch (const std::exception&) {
        // An unusable LANG: byte order then.
    }
    return [locale](const std::string& a, const std::string& b) {
        const auto& collate = std::use_facet<std::collate<char>>(locale);
        return collate.compare(a.data(), a.data() + a.size(), b.data(), b.data() + b.size()) < 0;
    };
}

std::vector<std::string> CandidateAddresses(std::string_view base, std::string_view target,
                                            const AddressOrder& order) {
    std::vector<std::string> candidates;
    const auto add = [&](std::string address) {
        const bool known = std::any_of(candidates.begin(), candidates.end(),
                                       [&](const std::string& c) { return c == address; });
        if (!known) candidates.push_back(std::move(address));
    };
    const std::size_t host = HostStart(base);
    for (std::size_t p = base.size(); p-- > host;) {
        if (base[p] != '/') continue;
        const std::string prefix(base.substr(0, p + 1));
        add(prefix);
        for (std::size_t q = 0; q < target.size(); ++q)
            if (target[q] == '/') add(prefix + std::string(target.substr(q + 1)) + "/");
    }
    std::stable_sort(candidates.begin(), candidates.end(), order);
    return candidates;
}

}  // namespace lumetra::publish
