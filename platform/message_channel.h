#pragma once
// The synchronous message channel between the programs of one user. A window that can be
// found by another program listens on a named local socket (its endpoint) in the user's
// endpoint folder; the endpoint's file name spells the window's identity. Sending a message
// connects, writes the message and waits until the receiver has handled it and answered.
//
// The endpoints of one desktop session live in a subfolder named after its display (and its
// session, where the session manager names one) of the user's endpoint folder:
// $LEXORA_ENDPOINT_DIR when set (tests), else "lexora" in $XDG_RUNTIME_DIR, else
// /tmp/lexora-<uid>. Both are made with access for the user only, and neither is used unless
// it is a folder (not a link) of the user's own that nobody else can enter: another user who
// made the name first could otherwise listen in the programs' place. A folder with a random
// name stands in for one that is taken (see private_folder.h).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_identity.h"
#include "platform/window_message.h"

namespace lexora {

// The session's endpoint folder, created when missing. Empty (and said once on stderr) when
// neither it nor a folder in its place can be had.
std::string endpointFolder();

// The endpoint's file name for an identity, e.g. "w.%.Lexora.%" for the main window: each part
// percent-encoded (an empty part is "%"), so distinct identities never share a name.
std::string endpointFileName(const WindowIdentity& identity);
// The identity spelled by an endpoint file name; nullopt for other names.
std::optional<WindowIdentity> identityFromEndpointFileName(std::string_view name);

// Full path of the identity's endpoint in the endpoint folder (empty when there is none).
std::string endpointPath(const WindowIdentity& identity);

// A top-level window titled `title` whose class is `windowClass` (empty: any class) that
// answers on its endpoint. Endpoints left behind by programs that ended are removed.
std::optional<WindowIdentity> findWindow(std::string_view windowClass, std::string_view title);

// The live child windows of windows of class `parentClass`, in name order.
std::vector<WindowIdentity> childWindows(std::string_view parentClass);

enum class SendStatus {
  kHandled,   // the receiver handled the message; the result is set
  kNoWindow,  // nobody listens for that identity
  kFailed,    // the receiver went away or did not answer in time
};

// Sends `message` to the window and waits for its answer, at most `timeoutMs` milliseconds
// (negative: no limit). `result` may be null.
SendStatus sendWindowMessage(const WindowIdentity& window, const WindowMessage& message,
                             int64_t* result = nullptr, int timeoutMs = 60000);

}  // namespace lexora
