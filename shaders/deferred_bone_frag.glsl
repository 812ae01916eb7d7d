#version 120
// Geometry buffer of the mesh pass (programs "deferred_bone" and
// "deferred_instance"): colour in target 0, linear eye depth packed into the
// red, green and blue of target 1 (24 bits), the eye-space normal as
// n * 0.5 + 0.5 in target 2. Unlit geometry is the sky: it writes the far
// value, so every pixel's depth is defined.
uniform int writeDepth;  // set by the mesh pass; the depth target is always written
uniform int useLightShader;
uniform sampler2D diffuseTex;
uniform sampler2D noiseTex;
uniform float noiseAmount;
uniform float noiseScale;
uniform float noiseRampStart;
uniform float noiseRampEnd;
uniform int useFlashingEffect;

varying vec3 eyeNormal;
varying float eyeDepth;
varying vec4 lighting;

const float kFlashTint = 0.6;

vec3 PackDepth(float depth) {
    vec3 bytes = fract(clamp(depth, 0.0, 0.99999994) * vec3(1.0, 255.0, 65025.0));
    return bytes - bytes.yzz * vec3(1.0 / 255.0, 1.0 / 255.0, 0.0);
}

void main() {
    vec2 uv = gl_TexCoord[0].st;
    vec4 colour = texture2D(diffuseTex, uv) * gl_Color;
    float grain = texture2D(noiseTex, uv * noiseScale).r;
    float ramp = clamp((grain - noiseRampStart) / max(noiseRampEnd - noiseRampStart, 1e-4), 0.0, 1.0);
    colour.rgb *= 1.0 - noiseAmount + noiseAmount * ramp;
    colour.rgb *= lighting.rgb;
    if (useFlashingEffect != 0) colour.rgb = mix(colour.rgb, vec3(1.0), kFlashTint);
    gl_FragData[0] = colour;
    gl_FragData[1] = vec4(PackDepth(useLightShader != 0 ? eyeDepth : 1.0), 1.0);
    gl_FragData[2] = vec4(normalize(eyeNormal) * 0.5 + 0.5, 1.0);
}
