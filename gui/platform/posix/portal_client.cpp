// File-chooser portal client over libdbus-1, which is opened with dlopen: the types come from
// its header, every function from the loaded library.
#include "gui/platform/posix/portal_client.h"

#include "gui/platform/common/file_uri.h"

#include <dbus/dbus.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desktop_dialogs {

namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kChooserInterface = "org.freedesktop.portal.FileChooser";
constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";
constexpr int kSliceMilliseconds = 20;
constexpr int kCallTimeoutMilliseconds = 25000;

#define DIALOG_DBUS_FUNCTIONS(X)                                                                   \
    X(dbus_error_init)                                                                             \
    X(dbus_error_free)                                                                             \
    X(dbus_error_is_set)                                                                           \
    X(dbus_connection_open_private)                                                                \
    X(dbus_connection_set_exit_on_disconnect)                                                      \
    X(dbus_connection_close)                                                                       \
    X(dbus_connection_unref)                                                                       \
    X(dbus_connection_get_is_connected)                                                            \
    X(dbus_connection_send)                                                                        \
    X(dbus_connection_flush)                                                                       \
    X(dbus_connection_read_write)                                                                  \
    X(dbus_connection_pop_message)                                                                 \
    X(dbus_bus_register)                                                                           \
    X(dbus_bus_get_unique_name)                                                                    \
    X(dbus_bus_add_match)                                                                          \
    X(dbus_message_new_method_call)                                                                \
    X(dbus_message_unref)                                                                          \
    X(dbus_message_set_no_reply)                                                                   \
    X(dbus_message_get_type)                                                                       \
    X(dbus_message_get_reply_serial)                                                               \
    X(dbus_message_is_signal)                                                                      \
    X(dbus_message_get_path)                                                                       \
    X(dbus_message_iter_init)                                                                      \
    X(dbus_message_iter_init_append)                                                               \
    X(dbus_message_iter_append_basic)                                                              \
    X(dbus_message_iter_append_fixed_array)                                                        \
    X(dbus_message_iter_open_container)                                                            \
    X(dbus_message_iter_close_container)                                                           \
    X(dbus_message_iter_get_arg_type)                                                              \
    X(dbus_message_iter_get_basic)                                                                 \
    X(dbus_message_iter_next)                                                                      \
    X(dbus_message_iter_recurse)

struct Library {
#define DIALOG_DBUS_MEMBER(name) decltype(&::name) name = nullptr;
    DIALOG_DBUS_FUNCTIONS(DIALOG_DBUS_MEMBER)
#undef DIALOG_DBUS_MEMBER
    bool loaded = false;
};

// The library, opened once per process and kept (it may hold state for the process).
const Library* library() {
    static Library functions;
    static bool tried = false;
    if (tried) return functions.loaded ? &functions : nullptr;
    tried = true;
    void* handle = dlopen("libdbus-1.so.3", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    bool complete = true;
#define DIALOG_DBUS_LOOKUP(name)                                                                   \
    functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                    \
    complete = complete && functions.name;
    DIALOG_DBUS_FUNCTIONS(DIALOG_DBUS_LOOKUP)
#undef DIALOG_DBUS_LOOKUP
    functions.loaded = complete;
    return complete ? &functions : nullptr;
}

// The session bus's address: the environment's, else the per-user socket. Never autolaunch.
std::string sessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && address[0])
        return address;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/') return "";
    const std::string socket = std::string(runtime) + "/bus";
    struct stat info;
    if (stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) return "";
    return "unix:path=" + socket;
}

class Builder {
  public:
    explicit Builder(const Library& d) : d(d) {}

    void string(DBusMessageIter* into, const std::string& text) {
        const char* value = text.c_str();
        d.dbus_message_iter_append_basic(into, DBUS_TYPE_STRING, &value);
    }
    // One dictionary entry of an a{sv}: key, then the value inside a variant of `signature`.
    template <typename Fill>
    void entry(DBusMessageIter* dictionary, const char* key, const char* signature, Fill fill) {
        DBusMessageIter pair, variant;
        d.dbus_message_iter_open_container(dictionary, DBUS_TYPE_DICT_ENTRY, nullptr, &pair);
        d.dbus_message_iter_append_basic(&pair, DBUS_TYPE_STRING, &key);
        d.dbus_message_iter_open_container(&pair, DBUS_TYPE_VARIANT, signature, &variant);
        fill(&variant);
        d.dbus_message_iter_close_container(&pair, &variant);
        d.dbus_message_iter_close_container(dictionary, &pair);
    }
    void boolean(DBusMessageIter* dictionary, const char* key, bool value) {
        entry(dictionary, key, "b", [&](DBusMessageIter* into) {
            dbus_bool_t flag = value ? 1 : 0;
            d.dbus_message_iter_append_basic(into, DBUS_TYPE_BOOLEAN, &flag);
        });
    }
    void text(DBusMessageIter* dictionary, const char* key, const std::string& value) {
        entry(dictionary, key, "s", [&](DBusMessageIter* into) { string(into, value); });
    }
    // A path as the portal takes it: bytes with a terminating zero.
    void bytes(DBusMessageIter* dictionary, const char* key, const std::string& value) {
        entry(dictionary, key, "ay", [&](DBusMessageIter* into) {
            DBusMessageIter array;
            d.dbus_message_iter_open_container(into, DBUS_TYPE_ARRAY, "y", &array);
            const char* data = value.c_str();
            d.dbus_message_iter_append_fixed_array(&array, DBUS_TYPE_BYTE, &data,
                                                   static_cast<int>(value.size() + 1));
            d.dbus_message_iter_close_container(into, &array);
        });
    }
    void filters(DBusMessageIter* dictionary, const std::vector<DialogFilter>& list) {
        entry(dictionary, "filters", "a(sa(us))", [&](DBusMessageIter* into) {
            DBusMessageIter array;
            d.dbus_message_iter_open_container(into, DBUS_TYPE_ARRAY, "(sa(us))", &array);
            for (const DialogFilter& filter : list) {
                DBusMessageIter item, patterns;
                d.dbus_message_iter_open_container(&array, DBUS_TYPE_STRUCT, nullptr, &item);
                string(&item, filter.label);
                d.dbus_message_iter_open_container(&item, DBUS_TYPE_ARRAY, "(us)", &patterns);
                for (const std::string& pattern : filter.patterns) {
                    DBusMessageIter glob;
                    d.dbus_message_iter_open_container(&patterns, DBUS_TYPE_STRUCT, nullptr, &glob);
                    dbus_uint32_t kind = 0; // 0: a glob pattern
                    d.dbus_message_iter_append_basic(&glob, DBUS_TYPE_UINT32, &kind);
                    string(&glob, pattern);
                    d.dbus_message_iter_close_container(&patterns, &glob);
                }
                d.dbus_message_iter_close_container(&item, &patterns);
                d.dbus_message_iter_close_container(&array, &item);
            }
            d.dbus_message_iter_close_container(into, &array);
        });
    }

  private:
    const Library& d;
};

// The request object path the portal will use for `token`, from the caller's unique name.
std::string expectedRequestPath(const char* uniqueName, const std::string& token) {
    std::string sender = uniqueName ? uniqueName : "";
    if (!sender.empty() && sender[0] == ':') sender.erase(0, 1);
    for (char& c : sender)
        if (c == '.') c = '_';
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

// Reads the Response signal: its code, and the "uris" of its results.
bool readResponse(const Library& d, DBusMessage* message, uint32_t& code,
                  std::vector<std::string>& uris) {
    DBusMessageIter arguments;
    if (!d.dbus_message_iter_init(message, &arguments)) return false;
    if (d.dbus_message_iter_get_arg_type(&arguments) != DBUS_TYPE_UINT32) return false;
    dbus_uint32_t value = 0;
    d.dbus_message_iter_get_basic(&arguments, &value);
    code = value;
    if (!d.dbus_message_iter_next(&arguments)) return true;
    if (d.dbus_message_iter_get_arg_type(&arguments) != DBUS_TYPE_ARRAY) return false;
    DBusMessageIter dictionary;
    d.dbus_message_iter_recurse(&arguments, &dictionary);
    for (; d.dbus_message_iter_get_arg_type(&dictionary) == DBUS_TYPE_DICT_ENTRY;
         d.dbus_message_iter_next(&dictionary)) {
        DBusMessageIter pair;
        d.dbus_message_iter_recurse(&dictionary, &pair);
        if (d.dbus_message_iter_get_arg_type(&pair) != DBUS_TYPE_STRING) continue;
        const char* key = nullptr;
        d.dbus_message_iter_get_basic(&pair, &key);
        if (!key || std::strcmp(key, "uris") != 0 || !d.dbus_message_iter_next(&pair)) continue;
        DBusMessageIter variant, list;
        d.dbus_message_iter_recurse(&pair, &variant);
        if (d.dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_ARRAY) return false;
        d.dbus_message_iter_recurse(&variant, &list);
        for (; d.dbus_message_iter_get_arg_type(&list) == DBUS_TYPE_STRING;
             d.dbus_message_iter_next(&list)) {
            const char* uri = nullptr;
            d.dbus_message_iter_get_basic(&list, &uri);
            uris.push_back(uri ? uri : "");
        }
    }
    return true;
}

class Session {
  public:
    explicit Session(const Library& d) : d(d) {}
    ~Session() {
        if (connection) {
            d.dbus_connection_close(connection);
            d.dbus_connection_unref(connection);
        }
    }
    bool open() {
        const std::string address = sessionBusAddress();
        if (address.empty()) return false;
        DBusError error;
        d.dbus_error_init(&error);
        connection = d.dbus_connection_open_private(address.c_str(), &error);
        if (connection) {
            // A bus that goes away must not end the host.
            d.dbus_connection_set_exit_on_disconnect(connection, 0);
            if (!d.dbus_bus_register(connection, &error)) {
                d.dbus_connection_close(connection);
                d.dbus_connection_unref(connection);
                connection = nullptr;
            }
        }
        d.dbus_error_free(&error);
        return connection != nullptr;
    }
    bool addMatch(const std::string& rule) {
        DBusError error;
        d.dbus_error_init(&error);
        d.dbus_bus_add_match(connection, rule.c_str(), &error);
        const bool added = !d.dbus_error_is_set(&error);
        d.dbus_error_free(&error);
        return added;
    }

    DBusConnection* connection = nullptr;

  private:
    const Library& d;
};

} // namespace

bool fileUriToPath(const std::string& uri, std::string& path) {
    // A chosen file is named whole: only the "file://" form, never with a query or fragment.
    if (uri.compare(0, 7, "file://") != 0 || uri.find_first_of("?#") != std::string::npos)
        return false;
    return file_uri::filePathFromUri(uri.data(), uri.size(), path);
}

namespace {

// Asks the portal to close the dialog of the request at `handle`; no answer is awaited.
void closeRequest(const Library& d, DBusConnection* connection, const std::string& handle) {
    DBusMessage* call =
        d.dbus_message_new_method_call(kPortalName, handle.c_str(), kRequestInterface, "Close");
    if (!call) return;
    d.dbus_message_set_no_reply(call, true);
    d.dbus_connection_send(connection, call, nullptr);
    d.dbus_message_unref(call);
    d.dbus_connection_flush(connection);
}

} // namespace

DialogOutcome runPortalDialog(const DialogRequest& request, const IdlePump& idle) {
    DialogOutcome outcome; // Unavailable until the portal takes the call
    const Library* loaded = library();
    if (!loaded) return outcome;
    const Library& d = *loaded;
    Session session(d);
    if (!session.open()) return outcome;

    static unsigned counter = 0;
    const std::string token =
        "filesel_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    const std::string expected =
        expectedRequestPath(d.dbus_bus_get_unique_name(session.connection), token);
    if (!session.addMatch(std::string("type='signal',interface='") + kRequestInterface +
                          "',member='Response'") ||
        !session.addMatch(std::string("type='signal',sender='org.freedesktop.DBus',member='"
                                      "NameOwnerChanged',arg0='") +
                          kPortalName + "'"))
        return outcome;

    const bool save = request.mode == DialogMode::Save;
    DBusMessage* call = d.dbus_message_new_method_call(kPortalName, kPortalPath, kChooserInterface,
                                                       save ? "SaveFile" : "OpenFile");
    if (!call) return outcome;
    {
        Builder build(d);
        DBusMessageIter arguments, options;
        d.dbus_message_iter_init_append(call, &arguments);
        // The dialog stays above the host's window that holds the editor.
        char parent[32] = "";
        if (request.parentWindow)
            std::snprintf(parent, sizeof parent, "x11:%lx",
                          static_cast<unsigned long>(request.parentWindow));
        build.string(&arguments, parent);
        build.string(&arguments, request.title);
        d.dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, "{sv}", &options);
        build.text(&options, "handle_token", token);
        build.boolean(&options, "modal", true);
        if (request.mode == DialogMode::LoadMultiple) build.boolean(&options, "multiple", true);
        if (request.mode == DialogMode::Directory) build.boolean(&options, "directory", true);
        if (request.mode != DialogMode::Directory && !request.filters.empty())
            build.filters(&options, request.filters);
        if (!request.initialDirectory.empty())
            build.bytes(&options, "current_folder", request.initialDirectory);
        d.dbus_message_iter_close_container(&arguments, &options);
    }
    dbus_uint32_t serial = 0;
    const bool sent = d.dbus_connection_send(session.connection, call, &serial);
    d.dbus_message_unref(call);
    if (!sent) return outcome;
    d.dbus_connection_flush(session.connection);

    std::string handle = expected;
    bool replied = false;
    uint32_t waited = 0;
    for (;;) {
        if (!d.dbus_connection_read_write(session.connection, kSliceMilliseconds) ||
            !d.dbus_connection_get_is_connected(session.connection)) {
            if (replied) outcome.status = DialogStatus::Failed;
            return outcome;
        }
        while (DBusMessage* message = d.dbus_connection_pop_message(session.connection)) {
            const int type = d.dbus_message_get_type(message);
            bool finished = false;
            if (!replied && d.dbus_message_get_reply_serial(message) == serial) {
                if (type == DBUS_MESSAGE_TYPE_ERROR) {
                    finished = true; // no portal, or it refused the call: try the next dialog
                } else if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN) {
                    replied = true;
                    DBusMessageIter arguments;
                    if (d.dbus_message_iter_init(message, &arguments) &&
                        d.dbus_message_iter_get_arg_type(&arguments) == DBUS_TYPE_OBJECT_PATH) {
                        const char* path = nullptr;
                        d.dbus_message_iter_get_basic(&arguments, &path);
                        if (path) handle = path;
                    }
                }
            } else if (d.dbus_message_is_signal(message, kRequestInterface, "Response")) {
                const char* path = d.dbus_message_get_path(message);
                if (path && (handle == path || expected == path)) {
                    uint32_t code = 2;
                    std::vector<std::string> uris;
                    finished = true;
                    outcome.status = DialogStatus::Failed;
                    if (readResponse(d, message, code, uris)) {
                        if (code == 1) {
                            outcome.status = DialogStatus::Cancelled;
                        } else if (code == 0) {
                            outcome.status = DialogStatus::Chosen;
                            for (const std::string& uri : uris) {
                                std::string local;
                                if (!fileUriToPath(uri, local)) {
                                    outcome.status = DialogStatus::Failed;
                                    outcome.paths.clear();
                                    break;
                                }
                                outcome.paths.push_back(local);
                            }
                        }
                    }
                }
            } else if (d.dbus_message_is_signal(message, "org.freedesktop.DBus",
                                                "NameOwnerChanged")) {
                // The portal left the bus while its dialog was open.
                finished = replied;
                if (finished) outcome.status = DialogStatus::Failed;
            }
            d.dbus_message_unref(message);
            if (finished) return outcome;
        }
        if (!replied) {
            waited += kSliceMilliseconds;
            if (waited > kCallTimeoutMilliseconds) return outcome;
        }
        if (idle && !idle()) {
            // Given up: the portal is asked to close the dialog it shows (if it shows one yet).
            if (replied) closeRequest(d, session.connection, handle);
            outcome.status = DialogStatus::Cancelled;
            return outcome;
        }
    }
}

} // namespace desktop_dialogs
