#include "engine/render_context.h"

RenderContext renderContext;
