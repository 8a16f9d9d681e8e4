// A stand-in file-chooser portal for the tests: owns org.freedesktop.portal.Desktop on the
// session bus, writes what each OpenFile or SaveFile call asked into RECORD (one "key=value"
// a line) and answers from ANSWER: its first line is the response code ("error" refuses the
// call with a D-Bus error, "hang" never sends the response), the other lines are the URIs returned.
// A Request.Close call adds "closed=<request path>" to RECORD. Touches READY once it owns the
// name; runs until the bus goes away.
//
// Usage: stand_in_portal RECORD ANSWER READY
#include <dbus/dbus.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* kRequestPrefix = "/org/freedesktop/portal/desktop/request/";

// Filters as "label|kind:pattern,kind:pattern;label|...".
std::string filtersText(DBusMessageIter* array) {
    std::string text;
    DBusMessageIter item;
    dbus_message_iter_recurse(array, &item);
    for (; dbus_message_iter_get_arg_type(&item) == DBUS_TYPE_STRUCT;
         dbus_message_iter_next(&item)) {
        DBusMessageIter fields, patterns;
        dbus_message_iter_recurse(&item, &fields);
        const char* label = "";
        dbus_message_iter_get_basic(&fields, &label);
        if (!text.empty()) text += ";";
        text += std::string(label) + "|";
        dbus_message_iter_next(&fields);
        dbus_message_iter_recurse(&fields, &patterns);
        bool first = true;
        for (; dbus_message_iter_get_arg_type(&patterns) == DBUS_TYPE_STRUCT;
             dbus_message_iter_next(&patterns)) {
            DBusMessageIter glob;
            dbus_message_iter_recurse(&patterns, &glob);
            dbus_uint32_t kind = 9;
            const char* pattern = "";
            dbus_message_iter_get_basic(&glob, &kind);
            dbus_message_iter_next(&glob);
            dbus_message_iter_get_basic(&glob, &pattern);
            if (!first) text += ",";
            text += std::to_string(kind);
            text += ":";
            text += pattern;
            first = false;
        }
    }
    return text;
}

std::string variantText(DBusMessageIter* variant) {
    DBusMessageIter value;
    dbus_message_iter_recurse(variant, &value);
    const int type = dbus_message_iter_get_arg_type(&value);
    if (type == DBUS_TYPE_BOOLEAN) {
        dbus_bool_t flag = 0;
        dbus_message_iter_get_basic(&value, &flag);
        return flag ? "true" : "false";
    }
    if (type == DBUS_TYPE_STRING) {
        const char* text = "";
        dbus_message_iter_get_basic(&value, &text);
        return text;
    }
    if (type == DBUS_TYPE_ARRAY && dbus_message_iter_get_element_type(&value) == DBUS_TYPE_BYTE) {
        DBusMessageIter bytes;
        dbus_message_iter_recurse(&value, &bytes);
        const char* data = nullptr;
        int count = 0;
        dbus_message_iter_get_fixed_array(&bytes, &data, &count);
        std::string text(data, static_cast<size_t>(count));
        for (char& c : text)
            if (c == 0) c = '0'; // the terminating zero shows as a visible 0
        return text;
    }
    if (type == DBUS_TYPE_ARRAY) return filtersText(&value);
    return "?";
}

void answer(DBusConnection* connection, DBusMessage* call, const char* recordPath,
            const char* answerPath) {
    std::ofstream record(recordPath);
    record << "method=" << dbus_message_get_member(call) << "\n";
    DBusMessageIter arguments;
    dbus_message_iter_init(call, &arguments);
    const char* parent = "";
    const char* title = "";
    dbus_message_iter_get_basic(&arguments, &parent);
    dbus_message_iter_next(&arguments);
    dbus_message_iter_get_basic(&arguments, &title);
    dbus_message_iter_next(&arguments);
    record << "parent=" << parent << "\ntitle=" << title << "\n";
    std::string token;
    DBusMessageIter options;
    dbus_message_iter_recurse(&arguments, &options);
    for (; dbus_message_iter_get_arg_type(&options) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&options)) {
        DBusMessageIter pair;
        dbus_message_iter_recurse(&options, &pair);
        const char* key = "";
        dbus_message_iter_get_basic(&pair, &key);
        dbus_message_iter_next(&pair);
        const std::string value = variantText(&pair);
        record << key << "=" << value << "\n";
        if (std::strcmp(key, "handle_token") == 0) token = value;
    }
    record.close();

    std::ifstream answers(answerPath);
    std::string code;
    std::getline(answers, code);
    if (code == "error") {
        DBusMessage* error = dbus_message_new_error(call, "org.freedesktop.DBus.Error.Failed",
                                                    "refused by the test");
        dbus_connection_send(connection, error, nullptr);
        dbus_message_unref(error);
        return;
    }
    std::vector<std::string> uris;
    for (std::string uri; std::getline(answers, uri);)
        uris.push_back(uri);

    std::string sender;
    for (const char* c = dbus_message_get_sender(call) + 1; *c; ++c)
        sender += *c == '.' ? '_' : *c;
    const std::string handle = kRequestPrefix + sender + "/" + token;
    const char* handleText = handle.c_str();
    DBusMessage* reply = dbus_message_new_method_return(call);
    dbus_message_append_args(reply, DBUS_TYPE_OBJECT_PATH, &handleText, DBUS_TYPE_INVALID);
    dbus_connection_send(connection, reply, nullptr);
    dbus_message_unref(reply);
    if (code == "hang") return; // the dialog stays open until the test ends the portal

    DBusMessage* response =
        dbus_message_new_signal(handle.c_str(), "org.freedesktop.portal.Request", "Response");
    dbus_message_set_destination(response, dbus_message_get_sender(call));
    DBusMessageIter out, results, entry, variant, list;
    dbus_message_iter_init_append(response, &out);
    dbus_uint32_t responseCode = static_cast<dbus_uint32_t>(std::stoul(code));
    dbus_message_iter_append_basic(&out, DBUS_TYPE_UINT32, &responseCode);
    dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sv}", &results);
    dbus_message_iter_open_container(&results, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    const char* key = "uris";
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, "as", &variant);
    dbus_message_iter_open_container(&variant, DBUS_TYPE_ARRAY, "s", &list);
    for (const std::string& uri : uris) {
        const char* text = uri.c_str();
        dbus_message_iter_append_basic(&list, DBUS_TYPE_STRING, &text);
    }
    dbus_message_iter_close_container(&variant, &list);
    dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(&results, &entry);
    dbus_message_iter_close_container(&out, &results);
    dbus_connection_send(connection, response, nullptr);
    dbus_message_unref(response);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* connection = dbus_bus_get(DBUS_BUS_SESSION, &error);
    if (!connection) return 1;
    dbus_connection_set_exit_on_disconnect(connection, 0);
    if (dbus_bus_request_name(connection, "org.freedesktop.portal.Desktop",
                              DBUS_NAME_FLAG_DO_NOT_QUEUE,
                              &error) != DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER)
        return 1;
    std::ofstream(argv[3]) << "ready\n";
    while (dbus_connection_read_write(connection, 100)) {
        while (DBusMessage* message = dbus_connection_pop_message(connection)) {
            if (dbus_message_is_method_call(message, "org.freedesktop.portal.FileChooser",
                                            "OpenFile") ||
                dbus_message_is_method_call(message, "org.freedesktop.portal.FileChooser",
                                            "SaveFile"))
                answer(connection, message, argv[1], argv[2]);
            else if (dbus_message_is_method_call(message, "org.freedesktop.portal.Request",
                                                 "Close"))
                std::ofstream(argv[1], std::ios::app)
                    << "closed=" << dbus_message_get_path(message) << "\n";
            dbus_message_unref(message);
        }
        dbus_connection_flush(connection);
    }
    return 0;
}
