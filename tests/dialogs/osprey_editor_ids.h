// Osprey's control ids of the extension group editor, under a template id of the tests' own so
// it sits beside Kestrel's template 3 in one test program.
#pragma once

#define OSPREY_EDITOR_TEMPLATE 1003
#define OSPREY_EDITOR_POSITION 101
#define OSPREY_EDITOR_GROUP_NO 121
#define OSPREY_EDITOR_ITEM_NAME 122
#define OSPREY_EDITOR_DISPLAY_TEXT 123
#define OSPREY_EDITOR_SEARCH_PATTERN 124
#define OSPREY_EDITOR_OK 111
#define OSPREY_EDITOR_CANCEL 112
#define OSPREY_EDITOR_PREVIOUS 113
#define OSPREY_EDITOR_NEXT 114
