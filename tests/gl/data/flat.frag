#version 110
void main() { gl_FragColor = vec4(0.25, 0.5, 0.75, 1.0); }
//~
