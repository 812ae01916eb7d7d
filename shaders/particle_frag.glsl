#version 120
// Program "particle": the atlas cell tinted by the particle's colour.
uniform sampler2D tex;

void main() { gl_FragColor = texture2D(tex, gl_TexCoord[0].st) * gl_Color; }
