#version 120
// Program "billboard": the sprite's texture (unit 0) as it is.
uniform sampler2D billboardTex;

void main() { gl_FragColor = texture2D(billboardTex, gl_TexCoord[0].st); }
