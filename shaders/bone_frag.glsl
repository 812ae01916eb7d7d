#version 120
// Programs "bone" and "instance": a textured mesh lit by the first
// fixed-function light, drawn straight to the screen.
uniform sampler2D diffuseTex;

varying vec3 eyeNormal;
varying vec4 eyePosition;

void main() {
    vec4 source = gl_LightSource[0].position;
    vec3 toLight = normalize(source.xyz - eyePosition.xyz * source.w);
    float facing = max(dot(normalize(eyeNormal), toLight), 0.0);
    vec4 light = gl_FrontLightModelProduct.sceneColor + gl_FrontLightProduct[0].ambient +
                 facing * gl_FrontLightProduct[0].diffuse;
    vec4 colour = texture2D(diffuseTex, gl_TexCoord[0].st) * gl_Color;
    gl_FragColor = vec4(colour.rgb * light.rgb, colour.a);
}
