#version 110
// Glowing streaks: six moving curves summed into one light value per pixel.
uniform float iTime;
uniform float viewportWidth;
uniform float viewportHeight;
uniform int iFrame;
uniform int renderMode;
uniform sampler2D bufferA;
varying vec2 fs_tex;

void main()
{
    vec2 p = gl_FragCoord.xy;
    vec2 size = vec2(viewportWidth, viewportHeight);
    if (renderMode == 0)
    {
        vec2 uv = (2.0 * p - size) / min(viewportWidth, viewportHeight);
        vec2 f = vec2(0.0);
        vec3 tint = vec3(0.5);
        float light = 0.0;
        for (float x = 0.1; x < 6.0; x += 1.0)
        {
            float k = dot(vec2(x + uv.y), vec2(sin(x), cos(x)));
            float s = sin(sin(iTime + uv.x * x) - uv.y * k);
            f = vec2(s);
            float q = sin(iTime + uv.y);
            light += 0.04 / distance(uv, f) - 0.01 * distance(vec2(q), uv);
            tint.y = sin(iTime + x) * 0.2 + 0.6;
            tint.x = cos(iTime * 0.8 + x) * 0.1 + 0.6;
        }
        tint *= light;
        gl_FragColor = vec4(tint, 1.0);
    }
    if (renderMode == 1)
    {
        gl_FragColor = texture2D(bufferA, p / size);
    }
}
//~
