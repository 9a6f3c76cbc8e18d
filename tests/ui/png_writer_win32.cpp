// The PNG writer's implementation; on Linux libstb provides it.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
