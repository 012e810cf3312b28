#version 110
// Passes the rectangle through unchanged: it already spans the viewport in clip space.
attribute vec4 position;
attribute vec2 position_tex;
attribute vec3 position_normal;
uniform mat4 model_world;
uniform mat4 world_projection;
uniform mat4 model_projection;
varying vec2 fs_tex;

void main()
{
    fs_tex = position_tex;
    gl_Position = position;
}
//~
