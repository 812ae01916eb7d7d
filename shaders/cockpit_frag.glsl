#version 120
// Cockpit pass: the mesh's texture (unit 0), shaded by how squarely it faces
// the eye, blended over the finished picture by its alpha.
uniform sampler2D cockpitTex;

varying float facing;

const float kAmbient = 0.35;

void main() {
    vec4 colour = texture2D(cockpitTex, gl_TexCoord[0].st) * gl_Color;
    gl_FragColor = vec4(colour.rgb * (kAmbient + (1.0 - kAmbient) * facing), colour.a);
}
