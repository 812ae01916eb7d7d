#version 120
// Particle target, billboards: the sprite's texture where it lies in front of
// the geometry. The depth buffer of this pass holds no meshes, so the
// geometry buffer's depth target ("depthTex", unit 1) decides instead.
uniform sampler2D billboardTex;  // unit 0
uniform sampler2D depthTex;      // unit 1; read at mip level 0 only

varying vec4 clipPosition;
varying float eyeDepth;

float UnpackDepth(vec3 bytes) { return dot(bytes, vec3(1.0, 1.0 / 255.0, 1.0 / 65025.0)); }

void main() {
    // The screen position divided per fragment: an interpolated divided value
    // would be wrong across the sprite.
    vec2 screen = clipPosition.xy / clipPosition.w * 0.5 + 0.5;
    if (UnpackDepth(texture2D(depthTex, screen, -16.0).rgb) < eyeDepth) discard;
    gl_FragColor = texture2D(billboardTex, gl_TexCoord[0].st);
}
