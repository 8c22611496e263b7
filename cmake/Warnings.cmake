# Warnings are errors in every build.
set(OBX_WARNING_OPTIONS -Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor)
