#version 120
// Particle target, particles: the atlas cell tinted by the particle's colour
// where the particle lies in front of the geometry, fading out as it nears
// the surface behind it so that it does not end in a hard line.
uniform sampler2D tex;       // unit 0: the particle atlas
uniform sampler2D depthTex;  // unit 1: the geometry buffer's depth, read at mip level 0 only

varying vec4 clipPosition;
varying float eyeDepth;

const float kSoftDepth = 0.002;  // 10 units of the far plane's 5000

float UnpackDepth(vec3 bytes) { return dot(bytes, vec3(1.0, 1.0 / 255.0, 1.0 / 65025.0)); }

void main() {
    // The screen position divided per fragment: an interpolated divided value
    // would be wrong across the quad.
    vec2 screen = clipPosition.xy / clipPosition.w * 0.5 + 0.5;
    float room = UnpackDepth(texture2D(depthTex, screen, -16.0).rgb) - eyeDepth;
    if (room < 0.0) discard;
    vec4 colour = texture2D(tex, gl_TexCoord[0].st) * gl_Color;
    gl_FragColor = vec4(colour.rgb, colour.a * min(room / kSoftDepth, 1.0));
}
