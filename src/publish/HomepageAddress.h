#pragma once
// The homepage field and the public address of the upload folder: how the
// field is cleaned, what the HEAD request's answer makes of it, and the web
// addresses the probe file is looked for under.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "publish/HttpClient.h"

namespace lumetra::publish {

// "\" → "/", then every "https://" and every "http://" removed, letter case aside.
std::string NormaliseHomepageField(std::string_view field);

// What the answer to the homepage's HEAD request does with the field.
enum class HomepageVerdict {
    Replace,       // answered (403 counts): the field becomes the last address
    Keep,          // 404: the field stays as typed
    Inaccessible,  // any other status, or no answer
};
HomepageVerdict JudgeHomepageAnswer(const HttpResponse& response);

// The field for the last address: host, ":port" unless the scheme's
// default, path with document, "?query".
std::string HomepageFieldFor(const UrlParts& last);

// scheme "://" + field, cut after its last "/" behind the host's first
// character (dropping a document such as index.html), ending in "/".
std::string PublicBase(std::string_view scheme, std::string_view homepageField);

// Orders two addresses as the user's locale does, letter case counting.
using AddressOrder = std::function<bool(const std::string&, const std::string&)>;
AddressOrder LocaleAddressOrder();

// The candidate addresses for the folder target below base: each prefix of
// base that ends in "/" (behind the scheme), alone and followed by every tail
// of target that starts after one of its "/", sorted and without repeats.
std::vector<std::string> CandidateAddresses(std::string_view base, std::string_view target,
                                            const AddressOrder& order);

}  // namespace lumetra::publish
