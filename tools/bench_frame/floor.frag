#version 110
// The fill-rate floor: the cheapest colour a fragment can have.
uniform int renderMode;
uniform int iFrame;
void main()
{
    gl_FragColor = vec4(0.5, 0.5, 0.5, 1.0);
}
//~
