// Which toolkit variant a file is compiled for. The two variants are one code base whose class
// layouts differ, so every file that parses a toolkit header must see the value of the toolkit
// library its target links: gui_older and gui_newer hand TOOLKIT_NEWER (0 or 1) to whatever
// links them. A file that reaches a toolkit header without it, or a target that links both,
// would lay the classes out differently from the library: both stop the build here.
#pragma once

#if !defined(TOOLKIT_NEWER)
#error "TOOLKIT_NEWER is not set: a target that parses toolkit headers links gui_older or gui_newer"
#elif TOOLKIT_NEWER != 0 && TOOLKIT_NEWER != 1
#error "TOOLKIT_NEWER is 0 (older variant) or 1 (newer variant)"
#elif defined(TOOLKIT_LINKS_OLDER) && defined(TOOLKIT_LINKS_NEWER)
#error "this target links both toolkit variants; their class layouts differ, link one"
#endif
