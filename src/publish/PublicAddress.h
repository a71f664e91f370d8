#pragma once
// Finding the web address of the upload folder with a probe file, checking
// the published page under it, and the final page's two modes.

#include <string>

#include "publish/PublishView.h"

namespace lumetra::publish {

class WizardContext;

// The body at url, or empty on any failure (an error status too).
std::string CheckHTTPUrl(WizardContext& context, const std::string& url);

// GetHTTPURL, with the current FTP folder being targetDir: a probe file with
// a random number is stored there and looked for under every candidate
// address. The address found (ending in "/"), or empty. Errors of the FTP
// client and of writing the local probe throw; the remote probe is deleted
// in every case.
std::string GetHTTPURL(WizardContext& context, const std::string& scheme,
                       const std::string& homepageField, const std::string& targetDir);

// The final page: link mode when the page just sent is served under
// publicBaseURL with the show reference in it, else publicBaseURL is emptied
// and the page says where the embedding page must go.
ResultPage BuildResultPage(WizardContext& context, std::string& publicBaseURL,
                           const std::string& targetDir, const std::string& ftpHost);

}  // namespace lumetra::publish
