#version 110
varying vec2 neverWritten;
void main() { gl_FragColor = vec4(neverWritten, 0.0, 1.0); }
//~
