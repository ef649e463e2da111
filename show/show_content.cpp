#include "show/show_content.h"

ShowContent &showContent() {
    static ShowContent content;
    return content;
}
