#pragma once

// The language of the program's own interface: menus, dialogs, messages and help pages.
// The device displays do not follow it: the processor speaks the card's language and the
// console, the key captions and log.txt stay as the equipment has them.
enum class UiLanguage { Chinese, English };
