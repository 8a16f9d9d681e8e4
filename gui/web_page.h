// Web pages for editors: asks the system to show a page in the user's browser and returns at
// once (the platform's "open a web page"). False when the system could not even be asked.
#pragma once

bool showWebPage(const char* url);
