// Web pages: through the platform's system services.
#include "gui/web_page.h"

#include "gui/platform/platform.h"

bool showWebPage(const char* url) {
    return platform::current().openWebPage(url);
}
